# SPDX-License-Identifier: GPL-3.0-or-later
# The programs' own modules (src/framework/platform/Modules.h): libraries they load on first use.
# Installed into KORVANE_MODULE_INSTALL_DIR, which the programs reach from their own
# folder by KORVANE_MODULE_DIR.
set(KORVANE_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/korvane)
file(RELATIVE_PATH KORVANE_MODULE_DIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/korvane)

# korvane_add_module(TARGET NAME SOURCES file... BESIDE folder...)
# The module NAME.so from the sources, without undefined symbols, built into the first
# folder of BESIDE and copied into the others: beside the programs that load it in the
# build tree, so that they run there as installed.
function(korvane_add_module target name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;BESIDE")
  add_library(${target} MODULE ${arg_SOURCES})
  # Every symbol it needs is in it or its libraries; a sanitizer's run-time is the program's.
  if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize")
    target_link_options(${target} PRIVATE LINKER:--no-undefined)
  endif()
  list(POP_FRONT arg_BESIDE built_in)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} LIBRARY_OUTPUT_DIRECTORY ${built_in})
  foreach(folder IN LISTS arg_BESIDE)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${folder}/
      VERBATIM)
  endforeach()
  install(TARGETS ${target} LIBRARY DESTINATION ${KORVANE_MODULE_INSTALL_DIR})
  add_dependencies(korvane-installation ${target})
endfunction()
