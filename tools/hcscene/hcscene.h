// The scene tool's parts: the scene itself, and the screen reference of the win build.
#ifndef QR4T_TOOLS_HCSCENE_HCSCENE_H
#define QR4T_TOOLS_HCSCENE_HCSCENE_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The scene's surface in pixels.
constexpr int SCENE_WIDTH = 640;
constexpr int SCENE_HEIGHT = 480;

// Draws page 1 or 2 of the scene on every output that is on. Ops that the graphics core never sends
// (pie 13, arc 34, image 38) reach the hardcopy device through IHcSendOp; the image is a BMP the tool
// writes beside the plot.
void draw_scene(int page);
// Draws page 1 on a 24-bit off-screen bitmap and saves it as a PNG file; false with a message when it
// cannot (the host build has no screen).
bool save_screen_reference(const std::string& png);
// Plays a metafile of the format (0 WMF, 1 placeable WMF, 2 EMF) over the scene's whole surface on a
// white off-screen bitmap and saves it as a PNG file; false with a message when it cannot.
bool save_playback(int format, const std::string& file, const std::string& png);

// The client size of the main window in which the display picture is drawn.
constexpr int DISPLAY_WIDTH = 640;
constexpr int DISPLAY_HEIGHT = 480;

// What to do with the display picture: the device (none: the screen only) with its options, plot
// name and title; the screen reference to save; whether to print the client area through the screen
// driver's hardcopy page (op 20).
struct DisplayRequest {
    std::optional<int> device;
    std::vector<std::pair<int, int>> options;
    std::optional<std::string> out;
    std::optional<std::string> title;
    std::optional<std::string> screen;
    bool print = false;
};
// Draws the live flowfield picture of a small flowfield in a main window, as the display code draws
// it, while the device is open; false with a message when it cannot (the host build has no screen).
bool draw_display_picture(const DisplayRequest& request);

#endif
