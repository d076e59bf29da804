# find_package(varnio): the library as varnio::varnio and, where the build has
# the stand-ins, the simulator as varnio::sim (the component "sim").
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(VARNIO_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/varnio)
install(EXPORT varnioTargets NAMESPACE varnio:: DESTINATION ${VARNIO_CMAKE_INSTALL_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/varnioConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/varnioConfig.cmake
  INSTALL_DESTINATION ${VARNIO_CMAKE_INSTALL_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/varnioConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/varnioConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/varnioConfigVersion.cmake
  DESTINATION ${VARNIO_CMAKE_INSTALL_DIR})
