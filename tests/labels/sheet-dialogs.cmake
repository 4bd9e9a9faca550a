# The template picker and the user-defined sheet dialog, offscreen.
qm_test(qm_label_sheet_dialog_tests GUI
  SOURCES
    TLabelEditTest.cpp
    TSelectLabelTest.cpp
  LIBS qm_labels_ui qm_test_support Qt6::Test)
add_dependencies(qm_label_sheet_dialog_tests qm_sysdata_tables)
