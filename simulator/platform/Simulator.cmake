# The stand-ins installed as a simulator of the platform, for building and
# running a home screen on a PC: one include folder, the libraries, a
# pkg-config file under each platform package's own name (so that a build
# made for the platform finds them unchanged) and varnio-sim.pc for all of
# them with the simulator's waits.
include(GNUInstallDirs)

set(_varnio_sim_include ${CMAKE_INSTALL_INCLUDEDIR}/varnio-sim)
# package name, library target, description
set(_varnio_sim_packages
  "dlog|dlog|Platform logger: varnio simulator stand-in, controls in dlog_sim.h"
  "vconf|vconf|Platform settings store: varnio simulator stand-in, controls in vconf_sim.h"
  "capi-system-device|capi-system-device|Platform power service: varnio simulator stand-in, controls in device/power_sim.h"
  "iot-framework-client|iot-framework-client|IoT framework client: varnio simulator stand-in, the simulated account in IoTFrameworkSim.h"
  "webapp-launcher|webapp-launcher|Web-application launcher: varnio simulator stand-in, controls in was_sim.h"
  "varnio-sim|varnio-sim|The TV platform simulated on a PC, for developing a home screen against libvarnio, with waits in varnio_sim.h")
set(_varnio_sim_stand_ins dlog vconf capi-system-device iot-framework-client webapp-launcher)

set(_varnio_sim_pc_code "")
foreach(entry IN LISTS _varnio_sim_packages)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 package)
  list(GET fields 1 target)
  list(GET fields 2 description)
  set(requires "")
  if(package STREQUAL "varnio-sim")
    string(JOIN " " requires ${_varnio_sim_stand_ins})
  endif()
  get_target_property(sources ${target} SOURCE_DIR)
  install(DIRECTORY ${sources}/include/ DESTINATION ${_varnio_sim_include})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${_varnio_sim_include}>)
  # Installed side by side, the stand-ins find each other wherever the prefix is.
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  string(APPEND _varnio_sim_pc_code "
    set(PC_NAME \"${package}\")
    set(PC_LIB \"${target}\")
    set(PC_DESCRIPTION \"${description}\")
    set(PC_REQUIRES \"${requires}\")
    configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/pkgconfig/stand-in.pc.in\" \"${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/${package}.pc\" @ONLY)")
endforeach()
set_target_properties(varnio-sim PROPERTIES EXPORT_NAME sim)

install(TARGETS ${_varnio_sim_stand_ins} varnio-sim EXPORT varnioTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# Written when installing, so that the files name the prefix actually
# installed to, as varnio.pc does.
install(CODE "
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  ${_varnio_sim_pc_code}
")
install(DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/ DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
