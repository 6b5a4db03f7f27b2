# googletest: the installed package where its CMake config is found (Debian's libgtest-dev),
# otherwise built from Debian's sources in /usr/src/googletest (package googletest). The cross
# builds (MinGW, aarch64) always build the sources: no package for the target is installed.
# Either way the libraries are GTest::gtest and GTest::gtest_main.
find_package(GTest CONFIG QUIET)
if(NOT GTest_FOUND)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Built here, googletest is not held to our warning flags but does share the sanitizers. (The
  # package's build has none; ASan and UBSan allow code built without them.)
  if(PT_SANITIZE)
    foreach(t gtest gtest_main gmock gmock_main)
      target_compile_options(${t} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    endforeach()
  endif()
endif()
