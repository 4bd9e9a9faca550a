# The label job's position list and presort lines through the print loop's placement (compiled
# in: plain QtCore; the labels library would bring the data layer and the design objects along).
qm_fuzzer(fuzz_labels_positions
  SOURCES labels_positions.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TLabelGeometry.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TLabelPrintLoop.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TLabelSelection.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TLabelSheet.cpp
          ${PROJECT_SOURCE_DIR}/src/data/TWin1252.cpp
          ${PROJECT_SOURCE_DIR}/src/xbase/TCodePage1252.cpp
  LIBS Qt6::Core)
target_include_directories(fuzz_labels_positions PRIVATE ${PROJECT_SOURCE_DIR}/src)
