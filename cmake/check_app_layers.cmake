# The application's layers, bottom to top: state < casedata < restart < geometry < displays < kernel < run.
# A file of app/ may include its own folder and the folders below it, never one above (a call that must
# go up goes through a table of hooks, as RUN_PHASES does); base/ and toolkit/ never include app/.
# Run by ctest as "app_layers":
#   cmake -DQR4T_SOURCE_DIR=<root> -P cmake/check_app_layers.cmake
# It prints every include that points up and fails when there is one.
include(${CMAKE_CURRENT_LIST_DIR}/layer_includes.cmake)
set(layers state casedata restart geometry displays kernel run)
set(failures "")
list(LENGTH layers count)
math(EXPR last "${count} - 2")
foreach(i RANGE ${last})
    list(GET layers ${i} layer)
    math(EXPR next "${i} + 1")
    list(SUBLIST layers ${next} -1 above_list)
    list(JOIN above_list "|" above)
    file(GLOB files ${QR4T_SOURCE_DIR}/app/${layer}/*.h ${QR4T_SOURCE_DIR}/app/${layer}/*.cpp)
    qr4t_upward_includes(failures "app/(${above})/" ${files})
endforeach()
file(GLOB_RECURSE lower ${QR4T_SOURCE_DIR}/base/*.h ${QR4T_SOURCE_DIR}/base/*.cpp ${QR4T_SOURCE_DIR}/toolkit/*.h
     ${QR4T_SOURCE_DIR}/toolkit/*.cpp)
qr4t_upward_includes(failures "app/" ${lower})
if(failures)
    message(FATAL_ERROR "includes that point up the application's layers (state < casedata < restart < geometry < displays < kernel < run; base and toolkit below app):\n${failures}")
endif()
