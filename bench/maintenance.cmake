# Maintenance figures: the checks, opening the result grid and the bulk edits on a large file.
add_executable(quillmark-maintenance-bench maintenance_bench.cpp)
target_link_libraries(quillmark-maintenance-bench PRIVATE qm_maintenance qm_bench_fill)
target_compile_definitions(quillmark-maintenance-bench PRIVATE QM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
qm_apply_warnings(quillmark-maintenance-bench)
set_target_properties(quillmark-maintenance-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
