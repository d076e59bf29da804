# 32-bit ARM hard-float, as on the TV, with Debian's cross compiler and the
# armhf multiarch packages; programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
# GCC notes that ABI of passing some iterators changed in GCC 7.1; everything
# here is built by one compiler, so the notes only bury real warnings.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
# The cross compiler's own C library lives under /usr/arm-linux-gnueabihf;
# the :armhf dev packages install into /usr/lib/arm-linux-gnueabihf and
# /usr/include/arm-linux-gnueabihf, which only the "/" root reaches. Libraries
# are searched in these roots alone and, with the architecture above, only in
# the armhf directories of "/", never in the host's.
set(CMAKE_FIND_ROOT_PATH /usr/arm-linux-gnueabihf /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs run on the armhf multiarch C library (libc6:armhf), loader and
# all: the cross compiler's copy under /usr/arm-linux-gnueabihf is another
# build, and its loader with the multiarch libc crashes the first thread.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm;-L;/)
# pkg-config answers for armhf only: no host .pc file is ever read.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/arm-linux-gnueabihf/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
