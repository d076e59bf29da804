#!/usr/bin/env bash
# Installs what building and testing varnio needs on Debian 12, as root.
# Usage: tools/setup-deps.sh [base] [fuzz] [armhf] [analysis] [kit]
set -euo pipefail
groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(base)

export DEBIAN_FRONTEND=noninteractive
packages=()
for group in "${groups[@]}"; do
  case "$group" in
    base)
      packages+=(build-essential cmake pkg-config libjsoncpp-dev libcurl4-openssl-dev libcpp-httplib-dev
                 libssl-dev openssl googletest libgtest-dev libgmock-dev libbenchmark-dev gettext locales python3 binutils
                 nginx) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    armhf)
      dpkg --add-architecture armhf
      packages+=(g++-arm-linux-gnueabihf qemu-user libjsoncpp-dev:armhf libcurl4-openssl-dev:armhf
                 libcpp-httplib-dev:armhf libssl-dev:armhf libbrotli-dev:armhf zlib1g-dev:armhf libc6-dev:armhf) ;;
    analysis) packages+=(valgrind clang-tidy clang-tidy-14 cppcheck) ;;
    kit) packages+=(rpm) ;;
    *) echo "unknown group: $group" >&2; exit 2 ;;
  esac
done

# Wait for another apt run on this machine rather than fail on its lock.
wait_lock=(-o DPkg::Lock::Timeout=600)
apt-get "${wait_lock[@]}" update -qq
apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
