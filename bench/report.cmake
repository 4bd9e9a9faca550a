# Report figures: the built-in reports through the tool to PDF, report 1 into a page stream,
# the ZIP code count and its report, and a user-designed report through the tool.
add_executable(quillmark-report-bench report_bench.cpp)
target_link_libraries(quillmark-report-bench PRIVATE qm_reports qm_design_objects qm_data
                                                     qm_bench_fill qm_bench_args qm_bench_tool)
qm_apply_warnings(quillmark-report-bench)
set_target_properties(quillmark-report-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(quillmark-report-bench quillmark-tool)
