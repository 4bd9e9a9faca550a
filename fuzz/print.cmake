qm_fuzzer(fuzz_page_stream SOURCES print_page_stream.cpp LIBS qm_print)
