# Header-only libraries taken from the host's /usr/include one folder each, so a cross-build finds
# them without seeing the host's C headers.
function(brevant_header_libs target)
  set(links ${CMAKE_BINARY_DIR}/header-libs/${target})
  file(MAKE_DIRECTORY ${links})
  foreach(folder ${ARGN})
    if(NOT EXISTS /usr/include/${folder})
      message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/test, which installs it")
    endif()
    file(CREATE_LINK /usr/include/${folder} ${links}/${folder} SYMBOLIC)
  endforeach()
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${links})
endfunction()
