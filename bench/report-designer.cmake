# Report designer figures: open and save a report of many objects, the window driven offscreen.
add_executable(quillmark-report-designer-bench report_designer_bench.cpp)
target_link_libraries(quillmark-report-designer-bench PRIVATE qm_reports_ui qm_bench_fill
                                                              qm_bench_args)
qm_apply_warnings(quillmark-report-designer-bench)
set_target_properties(quillmark-report-designer-bench PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
