qm_fuzzer(fuzz_settings_reader SOURCES settings_reader.cpp LIBS qm_data)
