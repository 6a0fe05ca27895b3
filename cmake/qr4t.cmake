# Helpers shared by the folders' CMakeLists.

# qr4t_folder_library(<target> [WIN32_ONLY_SUFFIX])
# A static library of every .cpp in the calling folder. Files ending in _win.cpp are Win32 code and are
# compiled only in the win build; the rest is portable and compiled in both.
function(qr4t_folder_library target)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT QR4T_WIN32)
        list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
    endif()
    if(sources)
        add_library(${target} STATIC ${sources})
        set_property(GLOBAL APPEND PROPERTY QR4T_LIBS ${target})
    endif()
endfunction()

# qr4t_link_all(<target>): link every folder library, in one group that the linker rescans, so that
# calls between subsystems (the kernel into geometry, geometry into the kernel) need no ordering.
function(qr4t_link_all target)
    get_property(libs GLOBAL PROPERTY QR4T_LIBS)
    target_link_libraries(${target} PRIVATE "$<LINK_GROUP:RESCAN,${libs}>" ${QR4T_SYSTEM_LIBS})
endfunction()

# qr4t_test_folder(<area> [HOST_ONLY | HEADLESS] [LIBS <libs...>])
# HOST_ONLY: tests of the portable core that run on the headless toolkit; the win build leaves them out
# (there the entry operations are the real toolkit's).
# HEADLESS: the *_test.cpp files run on the headless toolkit (host build), the *_test_win.cpp files on
# the real one (win build); each build compiles only its own.
# With LIBS the program links only those libraries (in a rescanned group), so that a test of one
# subsystem builds while other subsystems are mid-change; without, it links every library.
# One test program per folder of tests/: every *_test.cpp in it (and in the win build also every
# *_test_win.cpp), linked with GoogleTest's main. ctest runs it once; under Wine through the emulator.
function(qr4t_test_folder area)
    cmake_parse_arguments(T "HOST_ONLY;HEADLESS" "" "LIBS" ${ARGN})
    if(T_HOST_ONLY AND QR4T_WIN32)
        return()
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    if(QR4T_WIN32)
        file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test_win.cpp
             ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
        if(T_HEADLESS)
            set(sources "")
        endif()
        list(APPEND sources ${win_sources})
    endif()
    if(NOT sources)
        return()
    endif()
    set(exe ${area}_tests)
    add_executable(${exe} ${sources})
    target_link_libraries(${exe} PRIVATE GTest::gtest_main)
    if(T_LIBS)
        target_link_libraries(${exe} PRIVATE "$<LINK_GROUP:RESCAN,${T_LIBS}>" ${QR4T_SYSTEM_LIBS})
    else()
        qr4t_link_all(${exe})
    endif()
    add_test(NAME ${area} COMMAND ${exe} --gtest_brief=1)
    set_tests_properties(${area} PROPERTIES
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        ENVIRONMENT "QR4T_SOURCE_DIR=${CMAKE_SOURCE_DIR};QR4T_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
