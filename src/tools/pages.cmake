# The "pages" command group. It needs only the page stream and its replay (no printers), so the
# tool stays free of Qt PrintSupport and, through it, of Qt Widgets.
target_sources(qm_tools PRIVATE PagesCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_print_stream)
