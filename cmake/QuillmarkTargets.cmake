# Shared settings for every Quillmark target.

function(qm_apply_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
                                           -Wno-missing-field-initializers)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wshadow=local)
  endif()
  if(QM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(QM_FUZZ)
    # Coverage instrumentation everywhere, so the fuzzers see inside the libraries they drive.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
  if(QM_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# qm_library(NAME SOURCES ... [QT components...]) is plain add_library plus the shared settings.
function(qm_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  qm_apply_warnings(${name})
endfunction()

# qm_test(NAME [GUI] SOURCES ... LIBS ...): one GoogleTest executable registered with CTest.
# Tests run offscreen, with a fresh home directory made by the test fixture itself, and find
# their data through QM_TEST_DATA_DIR. GUI tests get a main() that makes a QApplication.
function(qm_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    set(main qm_gui_test_main)
  else()
    set(main GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    QM_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/testdata"
    QM_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QM_BUILD_DIR="${CMAKE_BINARY_DIR}")
  qm_apply_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QM_DATA_DIR=${QM_DATA_BUILD_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# Every library a target links, directly or through others (plain target names only).
function(qm_linked_libraries target out)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current} OR current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(type ${current} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    list(APPEND pending ${links})
  endwhile()
  list(REMOVE_ITEM seen ${target})
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# qm_refuse_links(TARGET REGEX): configuring fails when the target links a library whose name
# matches the regular expression.
function(qm_refuse_links target regex why)
  qm_linked_libraries(${target} linked)
  foreach(library ${linked})
    if(library MATCHES "${regex}")
      message(FATAL_ERROR "${target} links ${library}; ${why}")
    endif()
  endforeach()
endfunction()
