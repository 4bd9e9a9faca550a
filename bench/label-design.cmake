# Label designer figures on a large address file, the window driven offscreen.
add_executable(quillmark-label-design-bench label_design_bench.cpp)
target_link_libraries(quillmark-label-design-bench PRIVATE qm_labels_ui qm_bench_fill Qt6::Test)
qm_apply_warnings(quillmark-label-design-bench)
set_target_properties(quillmark-label-design-bench PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
