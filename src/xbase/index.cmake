# CDX compound and IDX single-key index files: pages, tags, cursors, bulk tag builds.
qm_library(qm_xbase_index
  TCompoundIndex.cpp
  TIndexCursor.cpp
  TIndexPage.cpp
  TIndexPageFile.cpp
  TIndexStorage.cpp
  TIndexTag.cpp
  TSingleIndex.cpp
  TTagBuilder.cpp)
target_link_libraries(qm_xbase_index PUBLIC qm_xbase_core)
