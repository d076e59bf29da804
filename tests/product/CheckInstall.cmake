# Installs the build at BUILD_DIR under the scratch root STAGE with prefix
# /usr (as the package build does) and checks what lands there: exactly the
# library, its public headers, varnio.pc, its CMake package, the resources
# under /usr/apps/varnio/res/ and the simulator, and that a caller compiles
# against the installed headers through pkg-config alone.
#   cmake -DBUILD_DIR=.. -DSTAGE=.. -DLIBDIR=lib -DINCLUDEDIR=include
#         -DPO_DIR=../res/po -DCXX=c++ -DSOURCE_DIR=.. -DBINDIR=bin
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
file(GLOB_RECURSE sim_headers RELATIVE ${SOURCE_DIR}/platform ${SOURCE_DIR}/platform/*/include/*.h)
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
foreach(path ${expected})
  if(NOT path IN_LIST installed)
    fail("missing: /usr/${path}")
  endif()
endforeach()
foreach(path ${installed})
  if(NOT path IN_LIST expected)
    fail("not part of the package: /usr/${path}")
  endif()
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

# varnio.pc names the prefix installed to and the headers' directory.
if(EXISTS ${root}/${LIBDIR}/pkgconfig/varnio.pc)
  file(READ ${root}/${LIBDIR}/pkgconfig/varnio.pc pc)
  if(NOT pc MATCHES "prefix=/usr\n")
    fail("varnio.pc does not name the prefix /usr:\n${pc}")
  endif()
  find_program(PKG_CONFIG pkg-config)
  if(PKG_CONFIG)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_SYSROOT_DIR=${STAGE} PKG_CONFIG_LIBDIR=${root}/${LIBDIR}/pkgconfig
              ${PKG_CONFIG} --cflags varnio
      RESULT_VARIABLE result OUTPUT_VARIABLE cflags ERROR_VARIABLE cflags OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
      fail("pkg-config --cflags varnio failed: ${cflags}")
    else()
      separate_arguments(cflags UNIX_COMMAND "${cflags}")
      set(caller ${STAGE}/caller.cpp)
      file(WRITE ${caller}
        "#include <varnio.h>\n#include <Lock.h>\n#include <Log.h>\n"
        "static void OnTiles(std::string, void*) {}\n"
        "int main() {\n"
        "  iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, OnTiles, nullptr);\n"
        "  iot_svc_get_accelerator_tiles();\n"
        "  iot_svc_execute_tile(IOT_SVC_TILE_PAGE, \"how\");\n"
        "  CLockMutex lock;\n  { CAutoLock held(lock); }\n"
        "  ext_log_base_print(0, VARNIO_LOG_TAG, \"%s\", \"caller\");\n}\n")
      execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only ${cflags} ${caller}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
      if(NOT result EQUAL 0)
        fail("a caller does not compile against the installed headers:\n${output}")
      endif()
    endif()
  endif()
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "install layout:\n  ${text}")
endif()
message(STATUS "install layout ok: ${STAGE}")
