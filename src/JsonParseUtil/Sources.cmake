file(GLOB _JsonParseUtil_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(varnio_core PRIVATE ${_JsonParseUtil_sources})
target_include_directories(varnio_core PRIVATE ${CMAKE_CURRENT_LIST_DIR})
