// Error numbers of the graphics core. Invalid graphics arguments are replaced by defaults, reported
// through IErrorReport (toolkit/common/error_state.h) with these numbers, and drawing goes on.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_ERROR_H
#define QR4T_TOOLKIT_GRAPHICS_GR_ERROR_H

#include "toolkit/common/error_state.h"

// Error numbers that the graphics core reports.
constexpr int GR_ERR_UNITS = 16;         // "X or Y graphics unit range is invalid"
constexpr int GR_ERR_NUMBER_TEXT = 18;   // "Numeric to string conversion error"
constexpr int GR_ERR_RADIUS = 20;        // "Circle/ellipse radius <=0, height ratio<=0 or arc angle=0"
constexpr int GR_ERR_ZERO_SIZE = 22;     // "Width/height=0 for a rectangle/triangle/parallelogram"
constexpr int GR_ERR_STACKED = 24;       // "Too many data values specified for a stacked plot"
constexpr int GR_ERR_COLOUR = 42;        // "Unknown colour name/number specified to IGrColour/IGrColourN"
constexpr int GR_ERR_AREA = 44;          // "Invalid X and/or Y range in IGrArea/IGrViewport/IGrReplayArea"
constexpr int GR_ERR_FILL_COMPLEX = 49;  // "Fill too complex in IGrPolygonComplex"
constexpr int GR_ERR_PRINT_IMAGE = 64;   // "Bit image transfer failed in IGrPrintImage"
constexpr int GR_ERR_TARGET = 1019;      // "Invalid target drawing surface"

#endif
