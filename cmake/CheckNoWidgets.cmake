# Fails the build when the command-line tool links Qt Widgets (run as cmake -P with BINARY set).
execute_process(COMMAND ldd ${BINARY} OUTPUT_VARIABLE deps RESULT_VARIABLE rc)
if(rc EQUAL 0 AND deps MATCHES "libQt6Widgets")
  message(FATAL_ERROR "quillmark-tool links libQt6Widgets; the tool must not use widgets")
endif()
