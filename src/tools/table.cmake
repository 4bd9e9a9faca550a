# The "table" command group.
target_sources(qm_tools PRIVATE
  TableCommand.cpp
  TCsvReader.cpp
  TCsvWriter.cpp
  TTableArgs.cpp
  TTableCheck.cpp
  TTableRawHeader.cpp
  TTextEncoding.cpp)
target_link_libraries(qm_tools PUBLIC qm_xbase)
