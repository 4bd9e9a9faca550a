# Expression compiler and evaluator: key expressions, queries, bulk-edit tests.
qm_library(qm_xbase_expr
  TCodePage1252.cpp
  TExprLexer.cpp
  TExprParser.cpp
  TExprProgram.cpp
  TExpression.cpp)
target_link_libraries(qm_xbase_expr PUBLIC qm_xbase_core)
