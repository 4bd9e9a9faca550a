# placeholder until the table layer lands
add_library(qm_xbase INTERFACE)
target_link_libraries(qm_xbase INTERFACE qm_xbase_core)
