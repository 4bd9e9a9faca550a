# Envelope printing figures: the command-line tool's "print envelopes" run as a process, on a #10
# layout the benchmark writes with the layout writer.
add_executable(quillmark-envelope-bench envelope_bench.cpp)
target_link_libraries(quillmark-envelope-bench PRIVATE qm_envelopes qm_data qm_bench_fill qm_bench_tool)
qm_apply_warnings(quillmark-envelope-bench)
set_target_properties(quillmark-envelope-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(quillmark-envelope-bench quillmark-tool)
