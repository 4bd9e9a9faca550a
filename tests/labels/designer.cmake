# The label designer: its plain rules and art, then the window offscreen.
qm_test(qm_label_design_rules_tests
  SOURCES
    TLabelArtTest.cpp
    TLabelDesignRulesTest.cpp
  LIBS qm_labels qm_test_support)

qm_test(qm_label_design_screen_tests GUI
  SOURCES
    TLabelDesignScreenTest.cpp
  LIBS qm_labels_ui qm_tools qm_test_support Qt6::Test)
add_dependencies(qm_label_design_screen_tests qm_sysdata_tables)
