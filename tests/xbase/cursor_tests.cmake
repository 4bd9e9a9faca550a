# cursor layer tests (the cursor is part of qm_xbase, so they need the table layer built)
get_target_property(_qm_cursor_table_type qm_xbase TYPE)
if(NOT _qm_cursor_table_type STREQUAL "INTERFACE_LIBRARY")
  qm_test(qm_xbase_cursor_tests
    SOURCES TCursorTest.cpp
    LIBS qm_xbase)
endif()
