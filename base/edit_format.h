// The edit-descriptor engine: numbers to text as formatted writes make them.
//
// Descriptors: Iw, Iw.m, Fw.d, Ew.d, Ew.dEe, Dw.d, Gw.d, Gw.dEe, each optionally preceded by a scale
// factor kP (as in "1PG15.7E2"). A value that does not fit its field fills the whole field with
// asterisks. NaN is written as "NaN" and infinities as "Infinity"/"-Infinity" (or "Inf"/"-Inf" when the
// field is narrower), right-justified. Decimal digits are correctly rounded (ties to even).
#ifndef QR4T_BASE_EDIT_FORMAT_H
#define QR4T_BASE_EDIT_FORMAT_H

#include <string>
#include <string_view>
#include <vector>

// One parsed edit descriptor.
struct EditDescriptor {
    char kind = 0;      // 'I', 'F', 'E', 'D' or 'G'; 0 when the text is not a descriptor
    int width = 0;      // w: field width (0 only for I0: as many columns as the value needs)
    int digits = -1;    // d (m for I): digits after the point, minimum digits; -1 when absent
    int exponent = -1;  // e: exponent digits; -1 when absent
    int scale = 0;      // k of a kP scale factor
};

// Largest w, d, e and repeat count that the parser accepts; no format of the program comes near it.
constexpr int EDIT_FIELD_LIMIT = 999;

// Parses one descriptor such as "I11", "F10.2", "1PG15.7E2" or a one-item format list "(G15.5E2)".
// Returns a descriptor with kind 0 when the text is not exactly one descriptor.
EditDescriptor parse_edit_descriptor(std::string_view text);

// Parses a format list such as "(I1,I9,2I6)" or "(1P,2E12.4,I5)" into one descriptor per field, repeat
// counts expanded and a scale factor carried to the descriptors after it. Blanks are ignored; the
// parentheses are optional. Returns an empty list when the text holds anything else.
std::vector<EditDescriptor> parse_format_list(std::string_view text);

// Writes an integer with an I descriptor (other kinds write the field as asterisks).
std::string format_integer(long long value, const EditDescriptor& d);

// Writes a real with an F, E, D or G descriptor (an I descriptor writes the value truncated toward
// zero). A descriptor of kind 0 gives an empty string.
std::string format_real(double value, const EditDescriptor& d);

// Convenience forms taking the descriptor text; an unparsable descriptor yields an empty string.
std::string format_integer(long long value, std::string_view descriptor);
std::string format_real(double value, std::string_view descriptor);

#endif
