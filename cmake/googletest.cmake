# GoogleTest from Debian's source package, built by whichever toolchain this build uses.
set(QR4T_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${QR4T_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# Its own sources are not ours to mend: GCC 12 warns falsely on one of them in a Release build.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
