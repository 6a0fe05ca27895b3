// Number text of the dialogs and grid: numbers to text with edit-descriptor formats, and numbers read
// back from text the user typed. Failures report through IErrorReport: 4 number too large, 10 no
// number, 11 a second decimal point, 12 a stray character, 18 a value that does not fit its format.
#ifndef QR4T_TOOLKIT_WIN_NUMBER_TEXT_H
#define QR4T_TOOLKIT_WIN_NUMBER_TEXT_H

#include <string>
#include <string_view>

constexpr char OVERFLOW_TEXT[] = "**********";
constexpr char INTEGER_FORMAT[] = "(I11)";
constexpr char DEFAULT_REAL_FORMAT[] = "(G15.5E2)";

// Formatted writes into a text; "**********" and error 18 when the value does not fit (a format that
// itself holds an asterisk accepts the overflowing field as written).
void IIntegerToString(int value, std::string& text, std::string_view format);
void IRealToString(float value, std::string& text, std::string_view format);
// The same for a 64-bit real.
void number_to_string(double value, std::string& text, std::string_view format);

// "(I11)" or the format's write, moved to the left with trailing blanks cut.
std::string IStrFormatInteger(int value);
std::string IStrFormatDouble(double value, std::string_view format);

// The number in the first word of the text (the rest ignored); 0.0 and an error on failure.
void IStrToReal(std::string_view text, float& value);
void IStrToDouble(std::string_view text, double& value);
// The text up to its first NUL (or its last non-blank character), read by IStrToDouble.
void IStrReadDouble(double& value, std::string_view text);

// Read and rewrite in canonical form, moved to the left.
std::string IStrCleanInteger(std::string_view text);
std::string IStrCleanReal(std::string_view text, std::string_view format);
std::string IStrCleanDouble(std::string_view text, std::string_view format);

// The numeric fields' own scan: leading blanks and tabs skipped, optional sign, digits with at most one
// point, optional exponent after E, e, D or d. ok is true only when the scan ends at the end of the
// text; an empty text, a lone sign or a lone point give 0.0 with ok.
double WStrScanReal(std::string_view text, bool& ok);

#endif
