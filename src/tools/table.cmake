# The "table" command group, a library of its own so its tests need no other command group. It
# needs the table engine; while the engine's table layer is not built (an interface
# placeholder), the group reports that it is unavailable.
get_target_property(qm_tools_xbase_kind qm_xbase TYPE)
if(qm_tools_xbase_kind STREQUAL "INTERFACE_LIBRARY")
  target_sources(qm_tools PRIVATE TableCommandUnavailable.cpp)
else()
  qm_library(qm_tools_table
    TableCommand.cpp
    TCsvReader.cpp
    TCsvWriter.cpp
    TTableArgs.cpp
    TTableCheck.cpp
    TTableRawHeader.cpp
    TTextEncoding.cpp)
  target_link_libraries(qm_tools_table PUBLIC qm_xbase)
  target_link_libraries(qm_tools PUBLIC qm_tools_table)
endif()
target_link_libraries(qm_tools PUBLIC qm_xbase)
