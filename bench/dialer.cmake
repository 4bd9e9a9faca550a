# The modem dialer against the test modem on a pseudo-terminal.
if(NOT TARGET qm_test_modem)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/dialer/modem ${CMAKE_BINARY_DIR}/bench/modem)
endif()
add_executable(quillmark-dialer-bench dialer_bench.cpp)
target_link_libraries(quillmark-dialer-bench PRIVATE qm_dialer qm_test_modem qm_bench_args)
qm_apply_warnings(quillmark-dialer-bench)
set_target_properties(quillmark-dialer-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
