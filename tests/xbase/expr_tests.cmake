# expr layer tests
qm_test(qm_xbase_expr_tests
  SOURCES TExpressionTest.cpp TExpressionGrammarTest.cpp TExpressionAllocationTest.cpp TCodePage1252Test.cpp
  LIBS qm_xbase_expr)
