// The rasteriser's filled shapes and images (internal to the rasteriser, hc_raster.cpp).
#ifndef QR4T_TOOLKIT_DRIVERS_HC_RASTER_SHAPES_H
#define QR4T_TOOLKIT_DRIVERS_HC_RASTER_SHAPES_H

// Ops 5, 7, 9, 11, 13, 15: fill styles 3 and 4 are filled here (rectangle, triangle, quadrilateral
// directly; ellipse, pie and polygon as the rows the graphics core sends in span mode); styles below 3
// are left to the core.
void hc_raster_shape(int op);
// Op 38: the image file named by the primitive block, scaled into the clip rectangle.
void hc_raster_image();

#endif
