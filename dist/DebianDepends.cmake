# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack before it packs: the Debian package's Depends line, from the system libraries
# that the built programs, the control module and the private library load.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(shlibdeps dpkg-shlibdeps)
if(NOT shlibdeps)
  message(FATAL_ERROR "dpkg-shlibdeps (package dpkg-dev) is needed to find the package's dependencies")
endif()
# dpkg-shlibdeps reads the package's name from a debian/control file in its working folder.
set(work "${CPACK_PACKAGE_DIRECTORY}/_depends")
file(MAKE_DIRECTORY "${work}/debian")
file(WRITE "${work}/debian/control" "Source: marvane\n\nPackage: marvane\nArchitecture: any\n")
execute_process(COMMAND "${shlibdeps}" -O "-l${CPACK_MARVANE_PRIVATE_DIR}" ${CPACK_MARVANE_BINARIES}
  WORKING_DIRECTORY "${work}" RESULT_VARIABLE result OUTPUT_VARIABLE found ERROR_VARIABLE problems)
file(REMOVE_RECURSE "${work}")
if(NOT result EQUAL 0 OR NOT found MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps found no dependencies:\n${problems}")
endif()
# The window needs the toolkit's X11 platform plugin, which no binary links to and the toolkit
# only recommends.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, qt6-qpa-plugins")
