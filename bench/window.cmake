# Main-window figures on a large address file, the window driven offscreen.
add_executable(quillmark-window-bench window_bench.cpp)
target_link_libraries(quillmark-window-bench PRIVATE qm_addressbook_ui qm_bench_fill Qt6::Test)
qm_apply_warnings(quillmark-window-bench)
set_target_properties(quillmark-window-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
