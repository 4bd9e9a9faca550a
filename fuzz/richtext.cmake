qm_fuzzer(fuzz_richtext_rtf SOURCES richtext_rtf.cpp LIBS qm_richtext)
