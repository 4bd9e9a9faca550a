qm_fuzzer(fuzz_xbase_index SOURCES xbase_index.cpp LIBS qm_xbase_index)
