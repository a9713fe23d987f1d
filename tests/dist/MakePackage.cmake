# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=<build> -DWORK=<scratch folder> -P MakePackage.cmake
# Makes the Debian package into WORK; skips where the tools to make one are missing.
find_program(cpack_program cpack)
find_program(dpkg_deb dpkg-deb)
find_program(shlibdeps dpkg-shlibdeps)
if(NOT cpack_program OR NOT dpkg_deb OR NOT shlibdeps)
  message("SKIP: cpack, dpkg-deb or dpkg-shlibdeps is not installed")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${cpack_program}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK}"
  RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB packages "${WORK}/*.deb")
if(NOT result EQUAL 0 OR NOT packages)
  message(FATAL_ERROR "cpack made no package:\n${log}")
endif()
execute_process(COMMAND "${dpkg_deb}" -x ${packages} "${WORK}/root" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the package cannot be unpacked")
endif()
