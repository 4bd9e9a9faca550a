qm_fuzzer(fuzz_xbase_table SOURCES xbase_table.cpp LIBS qm_xbase)
