find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

# A cross build must link the target's own libraries. pkg-config falls back to
# a bare -l name when the file is not found, which the linker may then resolve
# anywhere; fail at configure time instead.
function(varnio_require_target_libraries prefix)
  if(NOT CMAKE_CROSSCOMPILING)
    return()
  endif()
  foreach(lib IN LISTS ${prefix}_LIBRARIES)
    set(path "${pkgcfg_lib_${prefix}_${lib}}")
    if(NOT path MATCHES "/${CMAKE_LIBRARY_ARCHITECTURE}/")
      message(FATAL_ERROR "${prefix}: lib${lib} for ${CMAKE_LIBRARY_ARCHITECTURE} not found (got '${path}')")
    endif()
    message(STATUS "${prefix}: ${path}")
  endforeach()
endfunction()

pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
# 7.87: CURLOPT_QUICK_EXIT (a stopped transfer does not wait for its name
# lookup); curl_easy_header needs 7.83.
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl>=7.87.0)
varnio_require_target_libraries(JSONCPP)
varnio_require_target_libraries(CURL)
