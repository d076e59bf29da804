# Installs the build at BUILD_DIR under the scratch root STAGE with prefix
# /usr (as the package build does) and checks that exactly the files of
# EXPECTED (installed-files.txt) land there, icons as PNG files and
# catalogues compiled. Building a caller against an installed kit is the kit
# stage's check (tests/kit/run.sh).
#   cmake -DBUILD_DIR=.. -DSTAGE=.. -DEXPECTED=installed-files.txt -DLIBDIR=lib
#         -DINCLUDEDIR=include -DBINDIR=bin -DDATADIR=share -DBUILD_TYPE=Debug -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${STAGE})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

string(TOLOWER "${BUILD_TYPE}" CONFIG)
if(NOT CONFIG)
  set(CONFIG noconfig)
endif()
file(STRINGS ${EXPECTED} listed REGEX "^[^#]")
set(expected "")
foreach(line ${listed})
  string(CONFIGURE "${line}" path @ONLY)
  list(APPEND expected usr/${path})
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)

set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
list(TRANSFORM missing PREPEND "missing: /")
set(extra ${installed})
list(REMOVE_ITEM extra ${expected})
list(TRANSFORM extra PREPEND "not part of the package: /")
set(failures ${missing} ${extra})
foreach(path ${installed})
  if(path MATCHES "\\.(png|mo)$")
    file(READ ${STAGE}/${path} magic LIMIT 4 HEX)
    if(path MATCHES "\\.png$" AND NOT magic STREQUAL "89504e47")
      list(APPEND failures "not a PNG: /${path}")
    elseif(path MATCHES "\\.mo$" AND NOT magic MATCHES "^(de120495|950412de)$")
      list(APPEND failures "not a compiled catalogue: /${path}")
    endif()
  endif()
endforeach()
if(EXISTS ${STAGE}/usr/${LIBDIR}/libvarnio.so AND NOT IS_SYMLINK ${STAGE}/usr/${LIBDIR}/libvarnio.so)
  list(APPEND failures "/usr/${LIBDIR}/libvarnio.so is not the development symlink")
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "install layout:\n  ${text}")
endif()
message(STATUS "install layout ok: ${STAGE}")
