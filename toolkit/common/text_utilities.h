// Text utilities of the toolkit: word bounds, case, integer conversion and case-blind search.
// Positions are 1-based, as the toolkit's callers count them; a blank is the character ' '.
#ifndef QR4T_TOOLKIT_COMMON_TEXT_UTILITIES_H
#define QR4T_TOOLKIT_COMMON_TEXT_UTILITIES_H

#include <string>
#include <string_view>

// Bounds of the first word: first = position of the first non-blank character, last = position of the
// character before the first blank after it (or the text's length); both 0 for an all-blank text.
void IStrBounds(std::string_view text, int& first, int& last);

// Letters a-z to A-Z, or A-Z to a-z, in place.
void IStrUpper(std::string& text);
void IStrLower(std::string& text);

// Converts the first word (an optional sign and 1 to 10 digits, at most 2147483647) to an integer.
// value = 0 and error 10 (no word), 12 (another character) or 4 (too large) through IErrorReport.
void IStrToInteger(std::string_view text, int& value);

// Position of the first (backward bit 0 set: the last) occurrence of the pattern, letters compared in
// upper case; 0 when not found or when the pattern is longer than the text. An empty pattern gives 1
// (forward) or length+1 (backward).
int IStrIndexNoCase(std::string_view text, std::string_view pattern, int backward = 0);

// The text without leading and trailing blanks.
std::string_view str_trim(std::string_view text);

#endif
