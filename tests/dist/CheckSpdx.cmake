# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=<checkout> -P CheckSpdx.cmake
# Every C++ source and header names its licence in one of its first lines. Build folders (any
# top folder holding a CMakeCache.txt) hold generated sources and are left out.
file(GLOB top RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(lacking "")
set(checked 0)
foreach(folder ${top})
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${folder}" OR EXISTS "${SOURCE_DIR}/${folder}/CMakeCache.txt"
     OR folder MATCHES "^\\.")
    continue()
  endif()
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  foreach(source ${sources})
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${source}" head LIMIT_COUNT 3)
    if(NOT head MATCHES "SPDX-License-Identifier: GPL-3\\.0-or-later")
      list(APPEND lacking "${source}")
    endif()
  endforeach()
endforeach()
if(checked LESS 100)
  message(FATAL_ERROR "only ${checked} sources found under ${SOURCE_DIR}")
endif()
if(lacking)
  list(JOIN lacking "\n  " names)
  message(FATAL_ERROR "without the licence line (bash scripts/spdx.sh adds it):\n  ${names}")
endif()
message(STATUS "${checked} sources name their licence")
