# expr layer tests
qm_test(qm_xbase_expr_tests
  SOURCES TExpressionTest.cpp TExpressionGrammarTest.cpp TExpressionAllocationTest.cpp TCodePage1252Test.cpp
  LIBS qm_xbase_expr)

# The evaluator's micro-benchmark: built with the tests, never run by CTest.
add_executable(qm_xbase_expr_microbench TExpressionMicroBench.cpp)
target_link_libraries(qm_xbase_expr_microbench PRIVATE qm_xbase_expr)
qm_apply_warnings(qm_xbase_expr_microbench)
