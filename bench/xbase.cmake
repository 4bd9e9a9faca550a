# Engine benchmarks: the deterministic address-record generator (also a command that writes the
# records as CSV) and the benchmark command that prints the engine's figures with peak memory.
add_library(qm_bench_address STATIC xbase_address_generator.cpp)
target_include_directories(qm_bench_address PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qm_bench_address PUBLIC qm_xbase qm_bench_args)
qm_apply_warnings(qm_bench_address)

# The CSV writer and text conversion are compiled in rather than linking the whole tool library.
add_executable(quillmark-xbase-generate xbase_generate.cpp
  ${PROJECT_SOURCE_DIR}/src/tools/TCsvWriter.cpp
  ${PROJECT_SOURCE_DIR}/src/tools/TTextEncoding.cpp)
target_link_libraries(quillmark-xbase-generate PRIVATE qm_bench_address)
qm_apply_warnings(quillmark-xbase-generate)

add_executable(quillmark-xbase-bench xbase_bench.cpp)
target_link_libraries(quillmark-xbase-bench PRIVATE qm_bench_address)
qm_apply_warnings(quillmark-xbase-bench)
set_target_properties(quillmark-xbase-generate quillmark-xbase-bench PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
