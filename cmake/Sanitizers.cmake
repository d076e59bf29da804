# One switch for the whole tree so that the library, the stand-ins and the
# tests agree on the runtime.
if(VARNIO_SANITIZE)
  string(REPLACE ";" "," _varnio_san "${VARNIO_SANITIZE}")
  add_compile_options(-fsanitize=${_varnio_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_varnio_san})
endif()
