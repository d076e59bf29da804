# Installs the build at BUILD_DIR under the scratch root STAGE with prefix
# /usr (as the package build does) and checks what lands there: exactly the
# library, its public headers, varnio.pc, its CMake package, the resources
# under /usr/apps/varnio/res/ and the simulator. Building a caller against
# an installed kit is the kit stage's check (tests/kit/run.sh).
#   cmake -DBUILD_DIR=.. -DSTAGE=.. -DLIBDIR=lib -DINCLUDEDIR=include
#         -DPO_DIR=../res/po -DSOURCE_DIR=.. -DBINDIR=bin
#         -DDATADIR=share -DBUILD_TYPE=Debug -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
set(failures "")
macro(fail message)
  list(APPEND failures "${message}")
endmacro()

file(REMOVE_RECURSE ${STAGE})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(root ${STAGE}/usr)
set(res apps/varnio/res)
set(expected
  ${LIBDIR}/libvarnio.so ${LIBDIR}/libvarnio.so.1 ${LIBDIR}/libvarnio.so.1.0.0
  ${LIBDIR}/pkgconfig/varnio.pc
  ${INCLUDEDIR}/varnio/varnio.h ${INCLUDEDIR}/varnio/Lock.h ${INCLUDEDIR}/varnio/Log.h)
foreach(icon acc-gdmorn acc-gdnight acc-gdbye acc-imback acc-custom)
  list(APPEND expected ${res}/routines/${icon}.png ${res}/routines/${icon}-activated.png)
endforeach()
list(APPEND expected ${res}/routines/acc.camera.png)
string(TOLOWER "${BUILD_TYPE}" config)
if(NOT config)
  set(config noconfig)
endif()
foreach(file varnioConfig.cmake varnioConfigVersion.cmake varnioTargets.cmake varnioTargets-${config}.cmake)
  list(APPEND expected ${LIBDIR}/cmake/varnio/${file})
endforeach()

# The simulator: the stand-ins' headers under one folder, their libraries
# and pkg-config files, the two programs and the contents host's files.
file(GLOB_RECURSE sim_headers RELATIVE ${SOURCE_DIR}/simulator/platform ${SOURCE_DIR}/simulator/platform/*/include/*.h)
foreach(header ${sim_headers})
  string(REGEX REPLACE "^[^/]+/include/" "" header ${header})
  list(APPEND expected ${INCLUDEDIR}/varnio-sim/${header})
endforeach()
foreach(name dlog vconf capi-system-device iot-framework-client webapp-launcher varnio-sim)
  list(APPEND expected ${LIBDIR}/lib${name}.so ${LIBDIR}/pkgconfig/${name}.pc)
endforeach()
list(APPEND expected ${BINDIR}/varnio-contents-host ${BINDIR}/varnio-sim-run
  ${DATADIR}/varnio-sim/tls/ca.pem ${DATADIR}/varnio-sim/tls/server.pem ${DATADIR}/varnio-sim/tls/server.key)
file(GLOB_RECURSE contents_files RELATIVE ${SOURCE_DIR}/tests/data/contents ${SOURCE_DIR}/tests/data/contents/*)
list(FILTER contents_files EXCLUDE REGEX "^expected/")
foreach(file ${contents_files})
  list(APPEND expected ${DATADIR}/varnio-sim/contents/${file})
endforeach()
file(GLOB po_files ${PO_DIR}/*.po)
foreach(po ${po_files})
  get_filename_component(lang ${po} NAME_WE)
  list(APPEND expected ${res}/locale/${lang}/LC_MESSAGES/varnio.mo)
endforeach()

# Everything installed, relative to the prefix; nothing may land outside it.
file(GLOB_RECURSE everything LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
set(installed "")
foreach(path ${everything})
  if(path MATCHES "^usr/(.*)$")
    list(APPEND installed ${CMAKE_MATCH_1})
  else()
    fail("installed outside the prefix: /${path}")
  endif()
endforeach()
set(missing ${expected})
set(extra ${installed})
list(REMOVE_ITEM missing ${installed})
list(REMOVE_ITEM extra ${expected})
foreach(path ${missing})
  fail("missing: /usr/${path}")
endforeach()
foreach(path ${extra})
  fail("not part of the package: /usr/${path}")
endforeach()

# The icons are PNG files, the catalogues compiled catalogues.
foreach(path ${expected})
  if(EXISTS ${root}/${path} AND path MATCHES "\\.(png|mo)$")
    file(READ ${root}/${path} magic LIMIT 4 HEX)
    if(path MATCHES "\\.png$" AND NOT magic STREQUAL "89504e47")
      fail("not a PNG: /usr/${path}")
    elseif(path MATCHES "\\.mo$" AND NOT magic MATCHES "^(de120495|950412de)$")
      fail("not a compiled catalogue: /usr/${path}")
    endif()
  endif()
endforeach()

if(EXISTS ${root}/${LIBDIR}/libvarnio.so AND NOT IS_SYMLINK ${root}/${LIBDIR}/libvarnio.so)
  fail("/usr/${LIBDIR}/libvarnio.so is not the development symlink")
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "install layout:\n  ${text}")
endif()
message(STATUS "install layout ok: ${STAGE}")
