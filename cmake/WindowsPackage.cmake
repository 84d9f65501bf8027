# The Windows release: the two programs, the README and the licences as Windows text, the
# example screens; `cpack -B DIR` in the build folder makes DIR/brevant-<version>-<win32|win64>.zip.
set(package_text ${CMAKE_BINARY_DIR}/package-text)

# Notepad of older Windows shows a file with bare line feeds as one line.
function(brevant_windows_text source target)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${package_text}/${target} "${text}")
endfunction()

brevant_windows_text(${CMAKE_SOURCE_DIR}/README.md README.txt)
brevant_windows_text(${CMAKE_SOURCE_DIR}/LICENSE LICENSE.txt)
# The static programs carry the mingw-w64 runtime and the command-line parser; their notices go along.
set(notices "")
foreach(part mingw-w64-common libcli11-dev nlohmann-json3-dev libstb-dev)
  if(EXISTS /usr/share/doc/${part}/copyright)
    file(READ /usr/share/doc/${part}/copyright notice)
    string(APPEND notices "==== ${part}\n\n${notice}\n")
  endif()
endforeach()
file(WRITE ${package_text}/notices.in "${notices}")
brevant_windows_text(${package_text}/notices.in THIRD-PARTY-NOTICES.txt)

install(TARGETS brevant brevant-cli RUNTIME DESTINATION .)
install(FILES ${package_text}/README.txt ${package_text}/LICENSE.txt ${package_text}/THIRD-PARTY-NOTICES.txt
        DESTINATION .)
if(EXISTS ${CMAKE_SOURCE_DIR}/examples)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION examples PATTERN "*.sh" EXCLUDE)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(package_arch win64)
else()
  set(package_arch win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME brevant)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME brevant-${PROJECT_VERSION}-${package_arch})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
