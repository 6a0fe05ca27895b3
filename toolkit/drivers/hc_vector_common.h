// Small pieces shared by the PostScript, SVG, DXF and CGM drivers: the device facts every one of them
// states at op 1, the current colours in their model's representation, the text count and anchor.
#ifndef QR4T_TOOLKIT_DRIVERS_HC_VECTOR_COMMON_H
#define QR4T_TOOLKIT_DRIVERS_HC_VECTOR_COMMON_H

#include <string>
#include <string_view>

// The hardcopy entries of GrDeviceInfo: angle resolution 360, level 2, RGB flag, the three further
// words, text word 8 and text real 1.7E38; the capability string of GrDeviceCaps; HcDeviceBlock's
// resolution, colour count and initialised device.
void hc_vector_device(int rgb_flag, int w1, int w2, int w3, std::string_view caps, int resolution,
                      int colours, int device);
// The current (or previous) colour of GrColourState as its model holds it: a colour number under
// model 1, else the packed RGB value.
int hc_colour_value(int which);
// The characters of the primitive block's text, IX(1) of them (0 when negative, at most 255).
std::string_view hc_text();
// The text's anchor: (X(1), Y(1)) moved b cell heights below the baseline along the text direction;
// with justify, justification 1 takes the midpoint between it and the same offset of (X(3), Y(3)) and
// justification 2 the offset (X(3), Y(3)).
void hc_text_anchor(double b, bool justify, double& x, double& y);
// Option 6 on a colour of channels 0..255: 1 inverts every channel, 2 only a colour whose channels are
// all below 10 or all above 245.
void hc_colour_invert(int& red, int& green, int& blue);
// The text without its trailing blanks.
std::string_view hc_trim_right(std::string_view text);

#endif
