file(GLOB _IoTService_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(varnio_core PRIVATE ${_IoTService_sources})
target_include_directories(varnio_core PRIVATE ${CMAKE_CURRENT_LIST_DIR})
