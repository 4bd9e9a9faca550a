# The dialer's reading of the modem's answer, and its check of the number (compiled in: both are
# plain QtCore, and the dialer library would bring the serial port and the data layer along).
qm_fuzzer(fuzz_dialer_answer
  SOURCES dialer_answer.cpp
          ${PROJECT_SOURCE_DIR}/src/dialer/TModemAnswer.cpp
          ${PROJECT_SOURCE_DIR}/src/dialer/TDialCommand.cpp
  LIBS Qt6::Core)
target_include_directories(fuzz_dialer_answer PRIVATE ${PROJECT_SOURCE_DIR}/src)
