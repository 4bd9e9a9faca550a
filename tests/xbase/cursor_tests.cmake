# cursor layer tests (the cursor is part of qm_xbase)
qm_test(qm_xbase_cursor_tests
  SOURCES TCursorTest.cpp
  LIBS qm_xbase)
