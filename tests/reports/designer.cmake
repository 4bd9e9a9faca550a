# The report designer: its plain rules (placement, page arithmetic, texts).
qm_test(qm_report_designer_rules_tests
  SOURCES
    TReportBandGeometryTest.cpp
    TReportDesignerRulesTest.cpp
    TReportPlacementTest.cpp
  LIBS qm_reports)
