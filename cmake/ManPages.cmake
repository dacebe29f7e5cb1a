# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages of korvane and korvane-cli, made by help2man from the programs' own
# --help and --version at build time, so that a page never says other than its program.
# A build for another system cannot run the programs and makes none.
find_program(KORVANE_HELP2MAN help2man)
find_program(KORVANE_GZIP gzip)
if(KORVANE_HELP2MAN AND KORVANE_GZIP AND NOT CMAKE_CROSSCOMPILING)
  set(korvane_man_default ON)
else()
  set(korvane_man_default OFF)
endif()
option(KORVANE_MAN_PAGES "Make and install the manual pages (needs help2man)" ${korvane_man_default})
if(KORVANE_MAN_PAGES AND NOT (KORVANE_HELP2MAN AND KORVANE_GZIP))
  message(FATAL_ERROR "The manual pages need help2man and gzip (Debian: apt install help2man)")
endif()

# target: the program; summary: the NAME line of its page.
function(korvane_man_page target summary)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${target}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${KORVANE_HELP2MAN} --no-info --name=${summary} --output=${page} $<TARGET_FILE:${target}>
    # -n: no name or time in the header, so the same page gives the same bytes.
    COMMAND ${KORVANE_GZIP} -9nf ${page}
    DEPENDS ${target}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  add_dependencies(korvane-installation ${target}-man)
endfunction()

if(KORVANE_MAN_PAGES)
  korvane_man_page(korvane-cli "show and edit keyboard accompaniment style files from scripts")
  if(KORVANE_WITH_QT)
    korvane_man_page(korvane "editor for keyboard accompaniment style files")
  endif()
endif()
