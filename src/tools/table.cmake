# The "table" command group, a library of its own so its tests need no other command group.
qm_library(qm_tools_table
  TableCommand.cpp
  TCsvReader.cpp
  TCsvWriter.cpp
  TTableArgs.cpp
  TProgressLine.cpp
  TTextEncoding.cpp)
target_link_libraries(qm_tools_table PUBLIC qm_xbase qm_data qm_transfer_csv)
target_link_libraries(qm_tools PUBLIC qm_tools_table)
