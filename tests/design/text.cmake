# Tests of the text objects: the plain logic, the objects printing through recorded page streams,
# and their dialogs.
qm_test(qm_design_text_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TAddressBlockTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TWordWrapTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TCounterValueTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TDateTimeTextTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TSingleLineLayoutTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TSymbolFontTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGPLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGPDLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGCounterLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGSymbolLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGPageNumberLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGDateTimeLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGDMultiLineLabelTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TGDMultiLineAddressLabelTest.cpp
  LIBS qm_design qm_test_support)

qm_test(qm_design_text_ui_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TAddressLayoutDialogTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TSymbolSelectorDialogTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TTextObjectMenuTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TTextObjectDialogsTest.cpp
  LIBS qm_design_ui qm_test_support Qt6::Test)
