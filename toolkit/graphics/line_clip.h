// Line clipping against the clipping rectangle (GrDeviceArea, device coordinates), clipped polylines,
// and the edge intersections of the fill emulation.
#ifndef QR4T_TOOLKIT_GRAPHICS_LINE_CLIP_H
#define QR4T_TOOLKIT_GRAPHICS_LINE_CLIP_H

// The result of an edge parallel to the scan line.
constexpr float GR_EDGE_PARALLEL = 2147480064.0f;

// Clips the segment in place; visible = -1 when a part lies in the rectangle (the coordinates then
// hold that part), else 0. (IGrLineClip in older notes.)
void IGrClipLine(float& x1, float& y1, float& x2, float& y2, int& visible);
// True when the point lies in the rectangle and within the segment's x and y ranges, bounds included.
bool IGrPointOnSegment(float px, float py, float x1, float y1, float x2, float y2);
// Draws an open polyline of n points, clipped, as op 32 runs (device != 0: device coordinates, else
// user units). (IGrPolylineRender in older notes.)
void IGrPolylineClipped(const float* x, const float* y, int n, int device);
// The x where the line through the points meets height y; GR_EDGE_PARALLEL for a horizontal edge.
// (IGrLineXAtY in older notes.)
float IGrEdgeXAtY(float x1, float y1, float x2, float y2, float y);
// The y where it meets abscissa x; GR_EDGE_PARALLEL for a vertical edge. (IGrLineYAtX.)
float IGrEdgeYAtX(float x1, float y1, float x2, float y2, float x);
// Exchanges two reals. (IGrSwapReals in older notes.)
void IGrSwapReal(float& a, float& b);

#endif
