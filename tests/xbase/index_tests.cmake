# index layer tests
qm_test(qm_xbase_index_tests
  SOURCES TIndexPageTest.cpp TIndexTagTest.cpp TCompoundIndexTest.cpp TSingleIndexTest.cpp
          TIndexDamageTest.cpp
  LIBS qm_xbase_index)
