# table layer tests
qm_test(qm_xbase_files_tests
  SOURCES TFileIoTest.cpp TFileReplaceTest.cpp TDbfFileTest.cpp TMemoFileTest.cpp
  LIBS qm_xbase_files)

# The table tests need the expression and index layers built (not their placeholders).
get_target_property(_qm_index_type qm_xbase_index TYPE)
get_target_property(_qm_expr_type qm_xbase_expr TYPE)
if(NOT _qm_index_type STREQUAL "INTERFACE_LIBRARY" AND NOT _qm_expr_type STREQUAL "INTERFACE_LIBRARY")
  set(_qm_table_test_sources)
  foreach(_f TTableTest.cpp TTableCrashTest.cpp TTableInteropTest.cpp TPairSwapTest.cpp)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_f})
      list(APPEND _qm_table_test_sources ${_f})
    endif()
  endforeach()
  if(_qm_table_test_sources)
    qm_test(qm_xbase_table_tests
      SOURCES ${_qm_table_test_sources}
      LIBS qm_xbase)
    target_compile_definitions(qm_xbase_table_tests PRIVATE QM_SYSTEM_PYTHON="/usr/bin/python3")
  endif()
endif()
