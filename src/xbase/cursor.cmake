# Cursors (order, query, scope, seek) over an open table; part of qm_xbase.
get_target_property(qm_xbase_kind qm_xbase TYPE)
if(NOT qm_xbase_kind STREQUAL "INTERFACE_LIBRARY")
  target_sources(qm_xbase PRIVATE TCursor.cpp)
endif()
