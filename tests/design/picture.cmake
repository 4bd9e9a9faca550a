# Tests of the picture object: its model, stream, screen and printing, and its dialog and menu.
qm_test(qm_design_picture_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TGImageTest.cpp
  LIBS qm_design qm_test_support)

qm_test(qm_design_picture_ui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TLoadImageDialogTest.cpp
  LIBS qm_design_ui qm_test_support Qt6::Test)
