# The "presort" command: the bulk-mail presort of src/labels.
target_sources(qm_tools PRIVATE PresortCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_labels)
