# Runs first when installing: refuses, by name, an install folder this user cannot write to,
# before anything is copied. CMake's own error names only the first folder it failed to make,
# often with a misleading reason ("No such file or directory" for a missing write permission).
install(CODE [[
  set(qm_target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  # The nearest folder on the way that exists is the one the install has to write into.
  set(qm_probe "${qm_target}")
  while(NOT EXISTS "${qm_probe}")
    get_filename_component(qm_parent "${qm_probe}" DIRECTORY)
    if(qm_parent STREQUAL qm_probe)
      break()
    endif()
    set(qm_probe "${qm_parent}")
  endwhile()
  set(qm_mark "${qm_probe}/.quillmark-install-check")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E touch "${qm_mark}" RESULT_VARIABLE qm_status
                  OUTPUT_QUIET ERROR_QUIET)
  if(NOT IS_DIRECTORY "${qm_probe}" OR NOT qm_status EQUAL 0)
    message(FATAL_ERROR "Cannot install Quillmark into ${qm_target}: ${qm_probe} is not a "
                        "folder this user can write to. Install as root (sudo cmake --install "
                        "...) or choose a --prefix you can write to.")
  endif()
  file(REMOVE "${qm_mark}")
]])
