# Compiler settings of the fuzz build (QR4T_FUZZ): every object instrumented for libFuzzer's coverage,
# with AddressSanitizer and UBSan; any sanitizer report stops the run (a report that recovers would be
# no finding). The harnesses link libFuzzer's driver (fuzz/CMakeLists.txt).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz build needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++-16")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow
                    -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined,float-cast-overflow)
