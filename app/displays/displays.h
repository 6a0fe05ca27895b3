// The result displays as the run control calls them: the control dialogs and their handler, and the
// pictures that the main loop and the kernel's output redraw, and the two paused displays.
#ifndef QR4T_APP_DISPLAYS_DISPLAYS_H
#define QR4T_APP_DISPLAYS_DISPLAYS_H

#include <string>

// Shows the surfaces in a 3-D view until the user closes it (view_3d.cpp); sets VIEW_MODE_3D := 1.
void VIEW_SURFACES_3D();
// Loads, fills and shows the control dialogs and the progress log once before the time-step loop,
// preloads the dialogs of the paused displays, and with an empty sample gives the display settings
// their run-start values.
void LOAD_DISPLAY_DIALOGS();
// Reads the control dialogs after a poll, keeps the settings in their limits, converts the plane and
// moment point when the unit system changes, redraws what changed, and names the logged reaction.
void HANDLE_DISPLAY_CONTROLS();
// Redraws every live display in the order of the main loop's expose handling.
void REDRAW_ALL_DISPLAYS();
// Saves the whole drawing target as "D3D" + FOUR_DIGIT_TEXT(PICTURE_COUNTER) + ".BMP".
void SAVE_DISPLAY_PICTURE();
// n as four decimal digits with leading zeros ("0001"). A number above 9999 keeps all its digits
// ("10000"), so that no two pictures share a name; a negative one is written as its magnitude.
std::string FOUR_DIGIT_TEXT(int n);

// The live flowfield picture in the right half of the main window: the legend strip and one plane of
// the box, every element in the colour of its cell's value (FLOW_PROPERTY, FLOW_PLANE_AXIS, ...).
void DRAW_FLOWFIELD_PROPERTIES();
// The molecule number against flow time from the ring NM_HISTORY, with a one-standard-deviation bar.
void PLOT_MOLECULE_HISTORY();
// The force and moment on surface FORCE_SURFACE from its force sample, in the forces dialog of the unit
// system; the coefficients ask for the reference area once (ASK_REFERENCE_AREA).
void SHOW_FORCES_AND_MOMENTS();
// Asks for the reference area and length in dialog 136 "Characteristic Area" until both are above 0;
// sets REFERENCE_AREA (square metres) and REFERENCE_LENGTH (metres).
void ASK_REFERENCE_AREA();
// The live surface property picture with its legend (surface_picture.cpp).
void DRAW_SURFACE_PROPERTIES();
// The paused flowfield section display (section_window.cpp) and surface display window
// (surface_window.cpp), opened by the handler when their "Pause Program for Detailed Plot" box is
// ticked; each returns when its window closes and clears the box that asked for it.
void RUN_SECTION_DISPLAY();
void SURFACE_DISPLAY_WINDOW();

#endif
