# A label template file (XML) through the reader and the converter that the import uses
# (compiled in: plain QtCore; the labels library would bring the data layer and the design
# objects along).
qm_fuzzer(fuzz_labels_template_file
  SOURCES labels_template_file.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TLabelGeometry.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TTemplateConverter.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TTemplateFile.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TTemplateLength.cpp
          ${PROJECT_SOURCE_DIR}/src/labels/TTemplateRow.cpp
          ${PROJECT_SOURCE_DIR}/src/data/TWin1252.cpp
          ${PROJECT_SOURCE_DIR}/src/xbase/TCodePage1252.cpp
  LIBS Qt6::Core)
target_include_directories(fuzz_labels_template_file PRIVATE ${PROJECT_SOURCE_DIR}/src)
