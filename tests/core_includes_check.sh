#!/usr/bin/env bash
# The four core folders are standard C++ only: no Qt, libav, mpv or POSIX header may appear.
set -u
root="$1"
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]*|qt[^>"]*|libav[^>"]*|libsw[^>"]*|mpv/[^>"]*|unistd\.h|fcntl\.h|dirent\.h|pthread\.h|spawn\.h|dlfcn\.h|pwd\.h|signal\.h|poll\.h|termios\.h|sys/[^>"]*|arpa/[^>"]*|netinet/[^>"]*)[>"]'
hits=$(grep -rnE "$pattern" "$root/src/storage" "$root/src/profiles" "$root/src/media" "$root/src/conversion")
if [ -n "$hits" ]; then
  echo "Core files include platform headers:"
  echo "$hits"
  exit 1
fi
echo "core folders include only standard C++ headers"
