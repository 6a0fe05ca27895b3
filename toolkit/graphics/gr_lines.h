// Straight lines and the current point. Every line is clipped to the graphics area once, in device
// coordinates, and sent as op 2 to the screen and the hardcopy device.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_LINES_H
#define QR4T_TOOLKIT_GRAPHICS_GR_LINES_H

// The entry operations whose bodies are declared here (IGrLine for gr_line, ...).
#include "toolkit/graphics/entry.h"

// Application operations, user units; the current point ends at the requested (unclipped) point.
// gr_move_to, gr_line_to and gr_line are the bodies of IGrMoveTo, IGrLineTo and IGrLine
// (toolkit/graphics/entry.h).
void gr_move_to(float x, float y);
void IGrMoveToRel(float dx, float dy);
void gr_line_to(float x, float y);
void IGrLineToRel(float dx, float dy);
void gr_line(float x1, float y1, float x2, float y2);
void IGrLineRel(float x, float y, float dx, float dy);

// A line in user units: both ends through IGrUserToDevice, then as IGrLineDevice.
void IGrLineUser(float x1, float y1, float x2, float y2);
// A line in device coordinates: clipped; op 2 to the screen (pixel ends truncated) and the hardcopy.
void IGrLineDevice(float x1, float y1, float x2, float y2);

#endif
