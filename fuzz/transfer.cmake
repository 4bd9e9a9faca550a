# The text import's encoding decision, record reader, sample and value conversion.
qm_fuzzer(fuzz_transfer_csv SOURCES transfer_csv.cpp LIBS qm_transfer)
