file(GLOB _Contents_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(varnio_core PRIVATE ${_Contents_sources})
target_include_directories(varnio_core PRIVATE ${CMAKE_CURRENT_LIST_DIR})
