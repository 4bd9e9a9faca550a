# The label designer: its plain rules and art, then the window offscreen.
qm_test(qm_label_design_rules_tests
  SOURCES
    TLabelArtTest.cpp
    TLabelDesignRulesTest.cpp
  LIBS qm_labels qm_test_support)
