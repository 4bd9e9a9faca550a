# The "print" command group: label sheet templates (and the label printing built on src/labels).
# src/labels links no widget library, so neither does the tool.
target_sources(qm_tools PRIVATE PrintCommand.cpp)
target_sources(qm_tools PRIVATE PrintLabelsCommand.cpp TImbJobEnd.cpp)
target_link_libraries(qm_tools PUBLIC qm_labels)
target_sources(qm_tools PRIVATE PrintEnvelopesCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_envelopes)
