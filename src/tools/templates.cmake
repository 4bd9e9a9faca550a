# The "templates" command group: the user's own label sheets, imported from template files
# through src/labels (no widget library).
target_sources(qm_tools PRIVATE TemplatesCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_labels)
