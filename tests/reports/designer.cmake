# The report designer: its plain rules (placement, page arithmetic, texts).
qm_test(qm_report_designer_rules_tests
  SOURCES
    TReportBandGeometryTest.cpp
    TReportDesignerRulesTest.cpp
    TReportPlacementTest.cpp
  LIBS qm_reports)

# A report band and its surface, offscreen.
qm_test(qm_report_band_tests GUI
  SOURCES TReportPanelTest.cpp
  LIBS qm_reports_ui qm_test_support Qt6::Test)

# The "Report Designer" window, offscreen.
qm_test(qm_report_designer_tests GUI
  SOURCES TReportDesignerTest.cpp
  LIBS qm_reports_ui qm_test_support Qt6::Test)

# The "Report Designer" tab of "Print Report", offscreen.
qm_test(qm_report_designer_tab_tests GUI
  SOURCES TReportDesignerTabTest.cpp
  LIBS qm_reports_ui qm_test_support Qt6::Test)
