// Number text for graphics, dialog fields, grid cells and hardcopy labels: a value written with a
// format such as "(G15.5E2)" or "(I11)" into a fixed-length blank-padded text, and the placement of a
// text's non-blank part within its length.
#ifndef QR4T_TOOLKIT_GRAPHICS_NUMBER_TEXT_H
#define QR4T_TOOLKIT_GRAPHICS_NUMBER_TEXT_H

#include <string>
#include <string_view>

// Writes the value into text (its length is the field length; the result is blank-padded to it) with
// the format. When the write fails (unknown format, field longer than the text) or a field overflows
// while the format holds no "*", the text becomes "**********" (cut or blank-padded to its length) and
// error 18 is reported.
void IStrFormatNumber(double value, std::string& text, std::string_view format);
// Moves the non-blank part of text left (code holding L or l), right (R or r) or to the centre (any
// other code), in place, blanking the positions it leaves.
void IStrJustify(std::string& text, std::string_view code);

#endif
