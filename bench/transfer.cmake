# Import and export figures: CSV, DBF and 2.x imports with the index rebuild, copies out.
add_executable(quillmark-transfer-bench transfer_bench.cpp)
target_link_libraries(quillmark-transfer-bench PRIVATE qm_transfer qm_data_ui qm_bench_fill)
qm_apply_warnings(quillmark-transfer-bench)
set_target_properties(quillmark-transfer-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
