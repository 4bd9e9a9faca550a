# placeholder until the expr layer lands
add_library(qm_xbase_expr INTERFACE)
target_link_libraries(qm_xbase_expr INTERFACE qm_xbase_core)
