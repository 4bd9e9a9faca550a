# Filter and browse-grid figures on a large address file.
add_executable(quillmark-filter-bench filter_bench.cpp)
target_link_libraries(quillmark-filter-bench PRIVATE qm_addressbook qm_bench_fill)
qm_apply_warnings(quillmark-filter-bench)
set_target_properties(quillmark-filter-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
