# File access, DBF and memo files: below the expression and index layers, usable on their own.
qm_library(qm_xbase_files
  TDbfFile.cpp
  TDbfHeader.cpp
  TTableRawHeader.cpp
  TFieldDef.cpp
  TFileIo.cpp
  TFileIoFaulty.cpp
  TFileIoNative.cpp
  TFileReplace.cpp
  TMemoFile.cpp
  TPairSwap.cpp)
find_package(Threads REQUIRED) # deletion marks of large files are collected by a few threads
target_link_libraries(qm_xbase_files PUBLIC qm_xbase_core PRIVATE Threads::Threads)

# One open table: DBF + memo + production index, with index maintenance.
qm_library(qm_xbase
  TTable.cpp
  TTableCheck.cpp
  TTableIndexes.cpp)
# The cursor layer (navigation, query, order) sits on the table in the same library.
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/TCursor.cpp)
  target_sources(qm_xbase PRIVATE TCursor.cpp)
endif()
target_link_libraries(qm_xbase PUBLIC qm_xbase_files qm_xbase_index qm_xbase_expr qm_xbase_core)
