# The "layout" command group.
target_sources(qm_tools PRIVATE LayoutCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_design)
