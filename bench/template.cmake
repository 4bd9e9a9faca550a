# Template picker figures: the whole template table and the find box, driven offscreen.
add_executable(quillmark-template-bench template_picker_bench.cpp)
target_link_libraries(quillmark-template-bench PRIVATE qm_labels_ui qm_bench_args Qt6::Test)
qm_apply_warnings(quillmark-template-bench)
set_target_properties(quillmark-template-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(quillmark-template-bench qm_sysdata_tables)
