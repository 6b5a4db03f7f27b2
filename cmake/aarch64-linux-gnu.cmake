# Cross build for 64-bit ARM Linux (a Raspberry Pi with 64-bit Raspberry Pi OS) with Debian's
# g++-aarch64-linux-gnu. The programs link the target's shared C and C++ libraries, as the
# Debian package's Depends then say; here they come from /usr/aarch64-linux-gnu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(TOOLCHAIN_PREFIX aarch64-linux-gnu)

find_program(CMAKE_C_COMPILER NAMES ${TOOLCHAIN_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TOOLCHAIN_PREFIX}-g++ REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The build machine's package configs (googletest's, CLI11's) describe its own libraries, so
# googletest is built from its sources and CLI11's headers are copied (tools/cli).
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under user-mode emulation, the dynamic loader and libraries taken from the
# cross toolchain's folder.
find_program(PT_QEMU_AARCH64 NAMES qemu-aarch64-static qemu-aarch64)
if(PT_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PT_QEMU_AARCH64} -L /usr/${TOOLCHAIN_PREFIX})
endif()
