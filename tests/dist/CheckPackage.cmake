# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DWORK=<folder of the made package> -P CheckPackage.cmake
# The package declares the libraries it needs, holds what a Debian package should, and its
# programs answer from its unpacked files.
file(GLOB packages "${WORK}/*.deb")
if(NOT packages)
  message("SKIP: no package was made")
  return()
endif()
execute_process(COMMAND dpkg-deb --field ${packages} Depends OUTPUT_VARIABLE depends)
foreach(library libavformat libavcodec libswscale libqt6widgets6 libpulse0 qt6-qpa-plugins)
  if(NOT depends MATCHES "${library}")
    message(FATAL_ERROR "the package does not depend on ${library}: ${depends}")
  endif()
endforeach()
execute_process(COMMAND dpkg-deb --ctrl-tarfile ${packages} COMMAND tar -t OUTPUT_VARIABLE control)
if(control MATCHES "postinst|postrm")
  message(FATAL_ERROR "the package runs maintainer scripts:\n${control}")
endif()

set(root "${WORK}/root")
foreach(file usr/lib/marvane/marvane usr/lib/marvane/DudidEvar.ocx usr/lib/marvane/help.html
             usr/share/man/man1/marvane.1.gz usr/share/man/man1/marvane-cli.1.gz
             usr/share/doc/marvane/copyright usr/share/doc/marvane/changelog.gz
             usr/share/metainfo/example.kestrune.marvane.metainfo.xml
             usr/share/bash-completion/completions/marvane-cli
             usr/share/icons/hicolor/16x16/apps/marvane.png usr/share/icons/hicolor/512x512/apps/marvane.png)
  if(NOT EXISTS "${root}/${file}")
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()
file(READ "${root}/usr/share/applications/example.kestrune.marvane.desktop" entry)
if(NOT entry MATCHES "Exec=\"/usr/lib/marvane/marvane\" %F")
  message(FATAL_ERROR "the desktop entry does not start the packaged program:\n${entry}")
endif()

# The programs and the module find the private library by their run path, without ldconfig.
foreach(binary marvane marvane-cli DudidEvar.ocx)
  execute_process(COMMAND readelf -d "${root}/usr/lib/marvane/${binary}" OUTPUT_VARIABLE dynamic)
  string(FIND "${dynamic}" "Library runpath: [$ORIGIN:/usr/lib/marvane]" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${binary} does not look for the private library in its folder:\n${dynamic}")
  endif()
endforeach()

# Both programs answer without a screen, and the companion finds its control module.
foreach(program marvane marvane-cli)
  execute_process(COMMAND "${root}/usr/bin/${program}" --version
    RESULT_VARIABLE result OUTPUT_VARIABLE version ERROR_VARIABLE version)
  if(NOT result EQUAL 0 OR NOT version MATCHES "^${program} [0-9]+\\.[0-9]+\nCopyright.*GPL version 3 or later")
    message(FATAL_ERROR "the packaged ${program} --version answered ${result}: ${version}")
  endif()
endforeach()
execute_process(COMMAND "${root}/usr/bin/marvane-cli" probe /nonexistent.mpg
  RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT result EQUAL 1)
  message(FATAL_ERROR "the packaged marvane-cli cannot probe a file (${result}): ${said}")
endif()
