# The "import" and "export" command groups: the import and copy-out classes of src/transfer.
target_sources(qm_tools PRIVATE TransferCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_transfer)
