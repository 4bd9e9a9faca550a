qm_fuzzer(fuzz_xbase_expr SOURCES xbase_expr.cpp LIBS qm_xbase_expr)
