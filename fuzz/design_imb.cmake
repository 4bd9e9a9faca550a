# The Intelligent Mail encoder over arbitrary tracking, routing, ZIP and address texts (compiled
# in: plain QtCore).
qm_fuzzer(fuzz_design_imb
  SOURCES design_imb.cpp
          ${PROJECT_SOURCE_DIR}/src/design/barcode/TImbCode.cpp
          ${PROJECT_SOURCE_DIR}/src/design/barcode/TPostNetCode.cpp
  LIBS Qt6::Core)
target_include_directories(fuzz_design_imb PRIVATE ${PROJECT_SOURCE_DIR}/src)
