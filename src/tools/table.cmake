# The "table" command group.
target_sources(qm_tools PRIVATE TableCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_xbase)
