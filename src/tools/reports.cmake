# "print report", "print zipcount" and "print record": the report jobs built on src/reports,
# which links no widget library.
target_sources(qm_tools PRIVATE PrintReportsCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_reports)
