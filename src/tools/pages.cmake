# The "pages" command group.
target_sources(qm_tools PRIVATE PagesCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_print)
