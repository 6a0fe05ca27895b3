# The toolkit's layers: common at the bottom, graphics above it, win above that, then drivers, grid at the top. A file may include
# its own layer and the layers below, never one above. Run by ctest as "toolkit_layers":
#   cmake -DQR4T_SOURCE_DIR=<root> -P cmake/check_toolkit_layers.cmake
# It prints every include that points up and fails when there is one.
include(${CMAKE_CURRENT_LIST_DIR}/layer_includes.cmake)
set(failures "")
foreach(pair "common:graphics|win|drivers|grid|headless" "graphics:win|drivers|grid|headless" "win:drivers|grid"
        "drivers:grid")
    string(REPLACE ":" ";" parts "${pair}")
    list(GET parts 0 layer)
    list(GET parts 1 above)
    file(GLOB files ${QR4T_SOURCE_DIR}/toolkit/${layer}/*.h ${QR4T_SOURCE_DIR}/toolkit/${layer}/*.cpp)
    qr4t_upward_includes(failures "toolkit/(${above})/" ${files})
endforeach()
if(failures)
    message(FATAL_ERROR "includes that point up the toolkit's layers (common < graphics < win < drivers < grid):\n${failures}")
endif()
