# cmake -DBUILD_DIR=<build> -DWORK=<scratch folder> -P CheckPackage.cmake
# Makes the Debian package, unpacks it into a scratch root and runs the companion from there.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK}"
  RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB packages "${WORK}/*.deb")
if(NOT result EQUAL 0 OR NOT packages)
  message(FATAL_ERROR "cpack made no package:\n${log}")
endif()

execute_process(COMMAND dpkg-deb --field ${packages} Depends OUTPUT_VARIABLE depends)
foreach(library libavformat libavcodec libswscale libqt6widgets6 libqt6multimedia6)
  if(NOT depends MATCHES "${library}")
    message(FATAL_ERROR "the package does not depend on ${library}: ${depends}")
  endif()
endforeach()

set(root "${WORK}/root")
execute_process(COMMAND dpkg-deb -x ${packages} "${root}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the package cannot be unpacked")
endif()
foreach(file usr/lib/marvane/marvane usr/lib/marvane/DudidEvar.ocx usr/lib/marvane/help.html
             usr/share/man/man1/marvane-cli.1 usr/share/icons/hicolor/64x64/apps/marvane.png)
  if(NOT EXISTS "${root}/${file}")
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()
file(READ "${root}/usr/share/applications/marvane.desktop" entry)
if(NOT entry MATCHES "Exec=\"/usr/lib/marvane/marvane\"")
  message(FATAL_ERROR "the desktop entry does not start the packaged program:\n${entry}")
endif()

execute_process(COMMAND "${root}/usr/bin/marvane-cli" --version
  RESULT_VARIABLE result OUTPUT_VARIABLE version ERROR_VARIABLE version)
if(NOT result EQUAL 0 OR NOT version MATCHES "^marvane-cli [0-9]+\\.[0-9]+")
  message(FATAL_ERROR "the packaged marvane-cli --version answered ${result}: ${version}")
endif()
file(REMOVE_RECURSE "${WORK}")
