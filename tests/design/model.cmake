# Tests of the object model, the host panel and the layout stream.
qm_test(qm_design_model_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TLayoutWriterTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TLayoutReaderTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGLabelObjectFilerTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGBasePanelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TLayoutFileNamesTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGKindCatalogueTest.cpp
  LIBS qm_design qm_test_support)

qm_test(qm_design_model_ui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TGPanelViewTest.cpp
  LIBS qm_design_ui qm_test_support)
