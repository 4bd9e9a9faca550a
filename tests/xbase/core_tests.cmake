qm_test(qm_xbase_core_tests
  SOURCES TKeyEncodingTest.cpp
  LIBS qm_xbase_core)
