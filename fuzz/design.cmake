# The layout stream reader: the filer reading into a panel with every kind registered, a report
# stream's settings list through the report settings reader, and the text dump. Seeds:
# fuzz/corpus/design_layout_stream/.
qm_fuzzer(design_layout_stream
  SOURCES design_layout_stream.cpp
  LIBS qm_design qm_reports)
