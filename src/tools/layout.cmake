# The "layout" command group: "layout dump" reads any layout file; "layout print" fills a label or
# envelope layout from an address file and records it as a page stream. It links the design
# objects and the print jobs that write page streams, never the printers (Qt PrintSupport brings
# Qt Widgets), and the data layer's calculated fields.
target_sources(qm_tools PRIVATE LayoutCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_design qm_data)
