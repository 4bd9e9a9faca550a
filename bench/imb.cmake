# Intelligent Mail encoding figures: barcodes a second through the plain encoder.
add_executable(quillmark-imb-bench imb_bench.cpp)
target_link_libraries(quillmark-imb-bench PRIVATE qm_design_barcode qm_bench_args)
qm_apply_warnings(quillmark-imb-bench)
set_target_properties(quillmark-imb-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
