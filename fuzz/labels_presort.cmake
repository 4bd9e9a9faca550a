# The bulk-mail presort's tally and grouping over arbitrary ZIP contents (compiled in: plain
# QtCore; the labels library would bring the data layer and the design objects along).
qm_fuzzer(fuzz_labels_presort
  SOURCES labels_presort.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TAdcTable.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TPresort.cpp
          ${PROJECT_SOURCE_DIR}/src/data/TWin1252.cpp
          ${PROJECT_SOURCE_DIR}/src/xbase/TCodePage1252.cpp
  LIBS Qt6::Core)
target_include_directories(fuzz_labels_presort PRIVATE ${PROJECT_SOURCE_DIR}/src)
