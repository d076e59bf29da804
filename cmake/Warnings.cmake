# Warnings are errors in our own code; third-party headers come in as SYSTEM.
add_library(varnio_warnings INTERFACE)
target_compile_options(varnio_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor -Wformat=2
  -Wcast-align -Wnull-dereference -Wimplicit-fallthrough)
