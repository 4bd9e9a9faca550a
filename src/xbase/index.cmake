# placeholder until the index layer lands
add_library(qm_xbase_index INTERFACE)
target_link_libraries(qm_xbase_index INTERFACE qm_xbase_core)
