target_sources(varnio_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LibraryLife.cpp)
target_include_directories(varnio_core PRIVATE ${CMAKE_CURRENT_LIST_DIR})
