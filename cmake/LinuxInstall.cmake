# What `cmake --install` puts into a prefix on Linux, and what the Debian package holds: the two
# programs, their manual pages (made from their own --help by help2man), the bash completion,
# the examples and the copyright.
include(GNUInstallDirs)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/brevant-cli)

install(TARGETS brevant-cli vmodule RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(man_dir ${CMAKE_BINARY_DIR}/man)
  set(pages)
  foreach(program brevant-cli vmodule)
    set(page ${man_dir}/${program}.1.gz)
    if(program STREQUAL brevant-cli)
      set(description "inspect, convert, render, create and store start screens of character LCD modules")
    else()
      set(description "a virtual character LCD module on a pseudo-terminal")
    endif()
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
      COMMAND ${HELP2MAN} --no-info --no-discard-stderr --section 1 --name ${description}
              --output ${man_dir}/${program}.1 $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${man_dir}/${program}.1
      DEPENDS ${program} VERBATIM)
    list(APPEND pages ${page})
  endforeach()
  add_custom_target(manpages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/scripts/completion/brevant-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${doc_dir}/examples PATTERN "*.sh" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${doc_dir} RENAME copyright)
