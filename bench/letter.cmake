# Letter printing figures: the command-line tool's "print letters" run as a process, and the
# RTF read and preview record move in-process.
add_executable(quillmark-letter-bench letter_bench.cpp)
target_link_libraries(quillmark-letter-bench PRIVATE qm_letters qm_richtext qm_data qm_bench_fill qm_bench_tool
                      Qt6::Gui)
qm_apply_warnings(quillmark-letter-bench)
set_target_properties(quillmark-letter-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(quillmark-letter-bench quillmark-tool)
