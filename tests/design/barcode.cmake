# The Intelligent Mail encoder apart from any object: the published examples, the frame check
# sequence, the refusals of bad input and the routing code a record gives.
qm_test(qm_design_barcode_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TImbCodeTest.cpp
  LIBS qm_design_barcode)
