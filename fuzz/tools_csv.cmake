# The table tool's CSV reader and text conversion (compiled in: the tool library needs the
# whole engine).
qm_fuzzer(fuzz_tools_csv
  SOURCES tools_csv.cpp
          ${PROJECT_SOURCE_DIR}/src/tools/TCsvReader.cpp
          ${PROJECT_SOURCE_DIR}/src/tools/TTextEncoding.cpp
  LIBS qm_xbase_core qm_xbase_expr qm_transfer_csv)
target_include_directories(fuzz_tools_csv PRIVATE ${PROJECT_SOURCE_DIR}/src)
