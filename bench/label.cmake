# Label printing figures: the command-line tool's "print labels" run as a process.
add_executable(quillmark-label-bench label_bench.cpp)
target_link_libraries(quillmark-label-bench PRIVATE qm_data qm_labels qm_bench_fill qm_bench_args qm_bench_tool)
qm_apply_warnings(quillmark-label-bench)
set_target_properties(quillmark-label-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(quillmark-label-bench quillmark-tool)
