# The set-up shared by the address-file and window benchmarks: a table filled with generated records.
add_library(qm_bench_fill STATIC address_table_fill.cpp)
target_link_libraries(qm_bench_fill PUBLIC qm_bench_address)
qm_apply_warnings(qm_bench_fill)

# Address-file benchmarks: open with the tag check, and the rebuild of the 26 tags.
add_executable(quillmark-data-bench data_bench.cpp)
target_link_libraries(quillmark-data-bench PRIVATE qm_data qm_bench_fill)
qm_apply_warnings(quillmark-data-bench)
set_target_properties(quillmark-data-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
