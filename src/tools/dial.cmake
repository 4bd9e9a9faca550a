# The "dial" command group: the modem dialer without its window (QtCore and Qt SerialPort only).
target_sources(qm_tools PRIVATE DialCommand.cpp)
target_link_libraries(qm_tools PUBLIC qm_dialer)
