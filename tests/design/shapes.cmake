# Tests of shapes, lines and postal barcodes: the plain POSTNET logic, the objects printing
# through recorded page streams and painting on screen, their stream entries, and their menus.
qm_test(qm_design_shapes_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TPostNetCodeTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGLabelShapesTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGLineShapeTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGPostNetBarCodeTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGFIMBarCodeTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGIMBarCodeTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TImbJobTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TShapesRenderTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TShapeStreamTest.cpp
  LIBS qm_design qm_test_support)

qm_test(qm_design_shapes_ui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TShapeObjectMenuTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TShapesScreenTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TImbDialogsTest.cpp
  LIBS qm_design_ui qm_test_support Qt6::Test)
