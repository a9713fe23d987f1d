# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DWORK=<folder of the made package> -P ValidatePackage.cmake
# Debian's package checker, the AppStream validator and the desktop entry validator on the
# package and its unpacked files; skips, naming them, where they are not installed.
file(GLOB packages "${WORK}/*.deb")
if(NOT packages)
  message("SKIP: no package was made")
  return()
endif()
set(missing "")
foreach(tool lintian appstreamcli desktop-file-validate)
  string(MAKE_C_IDENTIFIER "${tool}" variable)
  find_program(${variable} ${tool})
  if(NOT ${variable})
    list(APPEND missing ${tool})
  endif()
endforeach()
if(missing)
  message("SKIP: not installed: ${missing} (scripts/setup.sh installs them)")
  return()
endif()

set(root "${WORK}/root")
set(failures "")
macro(check what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
  message("${what}:\n${said}")
  if(NOT result EQUAL 0)
    list(APPEND failures "${what}")
  endif()
endmacro()
check("lintian" ${lintian} --fail-on error,warning --no-tag-display-limit ${packages})
check("appstreamcli" ${appstreamcli} validate --no-net
      "${root}/usr/share/metainfo/example.kestrune.marvane.metainfo.xml")
check("desktop-file-validate" ${desktop_file_validate}
      "${root}/usr/share/applications/example.kestrune.marvane.desktop")
if(failures)
  message(FATAL_ERROR "found faults: ${failures}")
endif()
