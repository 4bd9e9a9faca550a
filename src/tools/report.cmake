# The "report" command group: the REPORT rows and report layout files of src/reports (no widget
# library).
target_sources(qm_tools PRIVATE ReportCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_reports qm_design)
