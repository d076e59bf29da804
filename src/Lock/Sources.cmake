target_sources(varnio_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Log.cpp)
target_include_directories(varnio_core PRIVATE ${CMAKE_CURRENT_LIST_DIR})
