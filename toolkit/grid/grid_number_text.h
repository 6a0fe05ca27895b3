// Number text of real and integer grid cells: the 4-byte real and integer twins of IStrFormatDouble
// and IStrReadDouble. Portable.
#ifndef QR4T_TOOLKIT_GRID_GRID_NUMBER_TEXT_H
#define QR4T_TOOLKIT_GRID_GRID_NUMBER_TEXT_H

#include <string>
#include <string_view>

// The value written with the format (IRealToString: asterisks and error 18 on overflow), moved to the
// left, trailing blanks cut.
void IStrFormatReal(float value, std::string& text, std::string_view format);

// The text up to its first NUL (or, without one, up to its last non-blank character) read as a number:
// error 10 without a number, 4 when it is too large; the value is 0 on error.
void IStrReadReal(float& value, std::string_view text);
// As IStrReadReal, truncated toward zero. Read through the 8-byte reader, so every 32-bit integer is
// exact; a value outside -2147483648 .. 2147483647 gives error 4 and 0.
void IStrReadInteger(int& value, std::string_view text);

#endif
