# The "barcode" command: postal barcodes as letters, from the plain encoders of src/design/barcode.
target_sources(qm_tools PRIVATE BarcodeCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_design_barcode)
