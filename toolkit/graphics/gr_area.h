// Graphics area, user units, the user-to-device transform, the device clip and the surface set-up.
//
// Spaces: pixels (columns 0..W-1, rows 0..H-1 from the bottom); device coordinates (reals in pixel
// units, 0..W-0.01 by 0..H-0.01, y upward); area fractions 0..1; user units mapped linearly onto the
// area. Every real-to-pixel conversion truncates toward zero.
#ifndef QR4T_TOOLKIT_GRAPHICS_GR_AREA_H
#define QR4T_TOOLKIT_GRAPHICS_GR_AREA_H

// The body of IGrArea: sets the area fractions; an invalid x or y pair becomes 0..1 with error 44.
void gr_area(float x1, float y1, float x2, float y2);
// The body of IGrUnits: sets the user units; x1 >= x2 or y1 >= y2 makes that axis 0..1 with error 16.
void gr_units(float x1, float y1, float x2, float y2);
// Sets the device area (clamped to the surface) and the screen clip (op 24).
void IGrClipArea(float x1, float y1, float x2, float y2);
// Adopts the size of the current surface when kind and number are those of GrTarget.
void IGrSurfaceSetup(int kind, int number, int width, int height);
// The body of IGrAreaClear: clears the area on the screen to colour number 0.
void gr_area_clear();
void IGrUserToDevice(float x, float y, float& dx, float& dy);
void IGrDeviceToUser(float dx, float dy, float& x, float& y);
// 1 when the point lies in the clipping rectangle (bounds included, widened by 0.001), else 0.
int IGrPointInClip(float x, float y);

// A real (in pixel units, or any other) truncated toward zero, clamped to the integer range first; NaN
// gives 0.
int gr_trunc(double v);

#endif
