# Tests of the design surface: the handle arithmetic and the menu commands as plain logic, and
# the surface driven through real mouse and key events in a small test host.
qm_test(qm_design_surface_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/THandleGeometryTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGSurfaceCommandsTest.cpp
  LIBS qm_design qm_test_support)

qm_test(qm_design_surface_ui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TGDesignSurfaceTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/THRulerTest.cpp
  LIBS qm_design_ui qm_test_support Qt6::Test)
