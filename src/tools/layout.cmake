# The "layout" command group. The tool links only the layout stream library: "layout dump" works
# on any layout file. "layout print" needs the design objects and the print jobs, whose printer
# support pulls in Qt Widgets, so it is compiled in (QM_LAYOUT_PRINT) only where widgets may be
# linked: the layout command tests build LayoutCommand.cpp with it.
target_sources(qm_tools PRIVATE LayoutCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_design_stream)
