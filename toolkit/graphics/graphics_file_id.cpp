// Graphics file identification: a text phase that reads the first lines of the file, a header phase
// that reads its first 128 bytes, and for three types a walk over the file's structure.
#include "toolkit/graphics/graphics_file_id.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"
#include "toolkit/graphics/byte_stream.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr int LINE_LENGTH = 128;    // text lines are read blank-padded to this length
constexpr int HEADER_LENGTH = 128;  // bytes of the header phase
constexpr char ESC = 27;

//--- text lines

// A text file read line by line; each line is its first 128 characters, blank-padded. Lines end at
// LF; a CR before it is dropped.
class TextLines {
public:
    explicit TextLines(const std::string& path) : stream_(std::fopen(path.c_str(), "rb")) {}
    ~TextLines()
    {
        if (stream_)
            std::fclose(stream_);
    }
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    bool is_open() const { return stream_ != nullptr; }

    // Reads the next line into line; false at the end of the file.
    bool next(std::string& line)
    {
        line.assign(LINE_LENGTH, ' ');
        if (!stream_)
            return false;
        int c = std::fgetc(stream_);
        if (c == EOF)
            return false;
        int put = 0;
        while (c != EOF && c != '\n') {
            if (put < LINE_LENGTH)
                line[put++] = char(c);
            c = std::fgetc(stream_);
        }
        if (put > 0 && put < LINE_LENGTH && line[put - 1] == '\r')
            line[put - 1] = ' ';
        return true;
    }

private:
    std::FILE* stream_;
};

// The file name without leading blanks (and NULs) and trailing blanks; empty when none is left.
std::string trimmed_name(std::string_view name)
{
    size_t first = name.find_first_not_of(std::string_view(" \0", 2));
    if (first == std::string_view::npos)
        return {};
    size_t last = name.find_last_not_of(' ');
    return std::string(name.substr(first, last - first + 1)).c_str();
}

// Position of the first character that is neither blank nor NUL; npos for none.
size_t first_non_blank(const std::string& line)
{
    return line.find_first_not_of(std::string_view(" \0", 2));
}

bool text_at(const std::string& line, size_t p, std::string_view text)
{
    return p != std::string::npos && line.compare(p, text.size(), text) == 0;
}

void to_lower(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
}

// Real to integer: truncation toward zero, clamped first (out-of-range conversion is undefined).
int truncate(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::clamp(value, -2147483648.0, 2147483647.0));
}

//--- number text

// Real conversion of the toolkit's number rules: the number at the start of the text (digits, point,
// sign, exponent letters E, e, D, d; what follows it is ignored); 0.0 and error 10 when there is no
// number, 4 when it is too large for a 4-byte real.
int text_to_real(std::string_view text, float& value)
{
    value = 0.0f;
    std::string number;
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return ERR_NO_SUBSTRING;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == 'D' || c == 'd')
            c = 'E';
        if (c == '\0' || !std::strchr("0123456789.+-Ee", c))
            break;
        number += c;
    }
    errno = 0;
    char* end = nullptr;
    double parsed = std::strtod(number.c_str(), &end);
    if (end == number.c_str())
        return ERR_NO_SUBSTRING;
    if ((errno == ERANGE && std::fabs(parsed) > 1.0) || std::fabs(parsed) > 3.4028234663852886e38)
        return ERR_NUMBER_TOO_LARGE;
    value = float(parsed);
    return 0;
}

// Bounds [first, last) of the first blank-delimited word; an all-blank text gives its first
// character.
void word_bounds(std::span<char> text, size_t& first, size_t& last)
{
    first = 0;
    while (first < text.size() && text[first] == ' ')
        ++first;
    if (first == text.size()) {
        first = 0;
        last = text.empty() ? 0 : 1;
        return;
    }
    last = first;
    while (last < text.size() && text[last] != ' ')
        ++last;
}

std::string take_word(std::span<char> text)
{
    size_t first = 0, last = 0;
    word_bounds(text, first, last);
    std::string word(text.begin() + first, text.begin() + last);
    std::fill(text.begin() + first, text.begin() + last, ' ');
    return word;
}

// Reports a conversion error with the current error mode, as the toolkit's conversions do.
void report_if(int error)
{
    if (error != 0)
        IErrorReport(error);
}

int next_integer(std::string& line)
{
    int value = 0;
    IStrNextWordInteger(std::span<char>(line.data(), line.size()), value);
    return value;
}

float next_real(std::string& line)
{
    float value = 0.0f;
    IStrNextWordReal(std::span<char>(line.data(), line.size()), value);
    return value;
}

// The first blank-delimited word of a text.
std::string first_word(const std::string& line)
{
    std::string copy = line;
    return take_word(std::span<char>(copy.data(), copy.size()));
}

//--- header fields

uint32_t le16(const unsigned char* header, int offset)
{
    uint32_t value = 0;
    IImgReadLE(header + offset, 2, value);
    return value;
}

uint32_t le32(const unsigned char* header, int offset)
{
    uint32_t value = 0;
    IImgReadLE(header + offset, 4, value);
    return value;
}

uint32_t be32(const unsigned char* header, int offset)
{
    uint32_t value = 0;
    IImgReadBE32(header + offset, value);
    return value;
}

bool bytes_at(const unsigned char* header, int offset, std::string_view text)
{
    return std::memcmp(header + offset, text.data(), text.size()) == 0;
}

// Offset of the first occurrence of the byte sequence in the header; -1 when there is none.
int find_bytes(const unsigned char* header, std::string_view text)
{
    const unsigned char* end = header + HEADER_LENGTH;
    const unsigned char* at = std::search(header, end, text.begin(), text.end(),
                                          [](unsigned char a, char b) { return a == (unsigned char)b; });
    return at == end ? -1 : int(at - header);
}

int power_of_two(long long exponent)
{
    return exponent >= 0 && exponent < 32 ? int(1u << exponent) : 0;
}

// Type of the first 128 bytes, tested in a fixed order; the first test that holds wins.
int header_type(const unsigned char* h)
{
    if (h[0] == 10 && h[2] == 1)
        return IMG_TYPE_PCX;
    if (bytes_at(h, 0, "BM") && le32(h, 6) == 0 && le32(h, 14) != 12)
        return IMG_TYPE_BMP;
    if (bytes_at(h, 40, " EMF"))
        return IMG_TYPE_METAFILE;
    if (bytes_at(h, 0, std::string_view("\x01\x00\x09\x00\x00\x03", 6)))
        return IMG_TYPE_METAFILE;
    if (le32(h, 0) == 0x9AC6CDD7u)
        return IMG_TYPE_METAFILE;
    if (h[0] == 0 && h[1] >= 16 && h[2] < 32)
        return IMG_TYPE_CGM;
    if (h[13] == 12 && h[8] == 68 && h[6] == 8 && h[0] == 1 && h[4] == 1)
        return IMG_TYPE_PICTURE;
    if (bytes_at(h, 0, "Draw"))
        return IMG_TYPE_DRAW;
    if (bytes_at(h, 0, "\x1b[?38h"))
        return IMG_TYPE_TERMINAL;
    if (bytes_at(h, 0,
                 "\x1b"
                 "E") ||
        bytes_at(h, 0, "\x1b&a"))
        return IMG_TYPE_PCL;
    if (bytes_at(h, 0, "\x1b\x40"))
        return IMG_TYPE_ESCP;
    if (bytes_at(h, 0, "\x1bU\x01"))
        return IMG_TYPE_ESC_U;
    if (std::memcmp(h, "\x89PNG\r\n\x1a\n", 8) == 0)
        return IMG_TYPE_PNG;
    return IMG_TYPE_UNKNOWN;
}

// Type of the first text line (and the one after it for DXF and SVG); 0 when none.
int text_type(TextLines& text, std::string& line)
{
    if (!text.next(line))
        return IMG_TYPE_UNKNOWN;
    size_t p = first_non_blank(line);
    if (text_at(line, p, "IN"))
        return IMG_TYPE_HPGL;
    if (text_at(line, p, "\x1b%0B"))
        return IMG_TYPE_HPGL2;
    if (text_at(line, p, "%!PS"))
        return IMG_TYPE_POSTSCRIPT;
    if (text_at(line, p, "0    ")) {
        std::string next;
        return text.next(next) && first_word(next) == "SECTION" ? IMG_TYPE_DXF : IMG_TYPE_UNKNOWN;
    }
    if (line.find("<?xml ") != std::string::npos || line.find("<?XML ") != std::string::npos) {
        std::string next;
        if (!text.next(next))
            return IMG_TYPE_UNKNOWN;
        to_lower(next);
        return next.find("<!doctype svg") != std::string::npos ? IMG_TYPE_SVG : IMG_TYPE_UNKNOWN;
    }
    return IMG_TYPE_UNKNOWN;
}

//--- facts of the text types

// Blanks the line up to and including the 2-character mnemonic at its first non-blank position
// and returns the mnemonic ("  " for a blank line); after is the position that follows it.
std::string take_mnemonic(std::string& line, size_t& after)
{
    size_t p = first_non_blank(line);
    after = line.size();
    if (p == std::string::npos || p + 2 > line.size())
        return "  ";
    std::string mnemonic = line.substr(p, 2);
    std::fill(line.begin(), line.begin() + long(p) + 2, ' ');
    after = p + 2;
    return mnemonic;
}

// True when the character at position at is a colon: "CO:" is a title comment.
bool colon_at(const std::string& line, size_t at)
{
    return at < line.size() && line[at] == ':';
}

// The text between the first double quote of the line and the next one ("" when there is none).
std::string quoted_text(const std::string& line)
{
    size_t open = line.find('"');
    if (open == std::string::npos)
        return {};
    size_t close = line.find('"', open + 1);
    return line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

struct PlotFacts {
    int variant = -1;
    int width = -1;
    int height = -1;
    int colours = -1;
};

// Size and plotter variant of an HP-GL (hpgl2 false) or HP-GL/2 plot, reading on from the first line.
PlotFacts plot_scan(TextLines& text, std::string line, bool hpgl2)
{
    static const int units_per_inch[10] = {1016, 1021, 1021, 1016, 1016, 1016, 1016, 1016, 1016, 1016};
    static const int pens[10] = {4, 6, 6, 4, 6, 8, 8, 8, 6, 6};
    static const int hpgl2_colours[5] = {2, 256, 2, 256, 256};
    PlotFacts facts;
    int w = 0, h = 0;
    for (;;) {
        size_t after = 0;
        std::string mnemonic = take_mnemonic(line, after);
        if (mnemonic == "SC") {
            int a = next_integer(line);
            int b = next_integer(line);
            if (a == -13)
                facts.variant = hpgl2 ? b - 10 : b;
        } else if (mnemonic == "IP") {
            int x1 = next_integer(line), y1 = next_integer(line);
            int x2 = next_integer(line), y2 = next_integer(line);
            w = truncate(double(x2) - x1 + 1);
            h = truncate(double(y2) - y1 + 1);
            if (hpgl2) {
                facts.width = truncate(double(w) * 72 / 1016);
                facts.height = truncate(double(h) * 72 / 1016);
            }
        } else if (hpgl2 && mnemonic == "CO" && !colon_at(line, after)) {
            // A comment "CO" followed by a colon is a title line, not a variant record.
            std::string words = quoted_text(line);
            int a = next_integer(words);
            int b = next_integer(words);
            if (a == 13)
                facts.variant = b;
        } else if (size_t semicolon = line.find(';'); semicolon != std::string::npos) {
            std::fill(line.begin(), line.begin() + long(semicolon) + 1, ' ');
            continue;
        }
        if (facts.variant != -1 && w != 0 && h != 0)
            break;
        if (!text.next(line))
            break;
    }
    if (!hpgl2 && facts.variant >= 1 && facts.variant <= 10) {
        facts.width = truncate(double(w) * 72 / units_per_inch[facts.variant - 1]);
        facts.height = truncate(double(h) * 72 / units_per_inch[facts.variant - 1]);
        facts.colours = pens[facts.variant - 1];
    }
    if (hpgl2 && facts.variant >= 1 && facts.variant <= 5)
        facts.colours = hpgl2_colours[facts.variant - 1];
    return facts;
}

// PostScript: the third and fourth numbers of a "%%BoundingBox:" second line.
void postscript_facts(TextLines& text, int* facts)
{
    std::string line;
    if (!text.next(line))
        return;
    size_t p = first_non_blank(line);
    if (!text_at(line, p, "%%BoundingBox:")) {
        facts[4] = 0;
        return;
    }
    facts[4] = 1;
    std::fill(line.begin(), line.begin() + long(p) + 14, ' ');
    next_integer(line);
    next_integer(line);
    facts[2] = next_integer(line);
    facts[3] = next_integer(line);
}

// DXF: lines 3 to 16; the first words of lines 14 and 16 are the extents in inches.
void dxf_facts(TextLines& text, int* facts)
{
    std::string line;
    for (int number = 3; number <= 16 && text.next(line); ++number) {
        if (number == 14)
            facts[2] = truncate(double(float(double(next_real(line)) * 72.0)));
        if (number == 16)
            facts[3] = truncate(double(float(double(next_real(line)) * 72.0)));
    }
}

// The real in the attribute="..." of the line; -1 when the attribute is missing.
int svg_attribute(const std::string& line, std::string_view attribute)
{
    size_t at = line.find(std::string(attribute) + "\"");
    if (at == std::string::npos)
        return -1;
    size_t start = at + attribute.size() + 1;
    size_t end = line.find('"', start);
    std::string value = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    float real = 0.0f;
    report_if(text_to_real(value, real));
    return truncate(real);
}

// SVG: the width= and height= attributes of the "<svg " line, from the third line on.
void svg_facts(TextLines& text, int* facts)
{
    std::string line;
    while (text.next(line)) {
        to_lower(line);
        if (line.find("<svg ") != std::string::npos) {
            facts[2] = svg_attribute(line, "width=");
            facts[3] = svg_attribute(line, "height=");
            return;
        }
    }
}

//--- facts of the header types

void metafile_facts(const unsigned char* h, int* facts)
{
    if (le32(h, 0) == 0x9AC6CDD7u) {
        // Placeable metafile: bounding box in units of field 14 per inch; a zero divisor gives no size.
        double per_inch = le16(h, 14);
        if (per_inch > 0) {
            facts[2] = truncate(std::trunc((double(le16(h, 10)) - le16(h, 6) + 1) * 72 / per_inch));
            facts[3] = truncate(std::trunc((double(le16(h, 12)) - le16(h, 8) + 1) * 72 / per_inch));
        }
        facts[4] = 1;
    } else if (bytes_at(h, 40, " EMF")) {
        // Enhanced metafile: frame in 0.01 mm.
        auto field = [h](int offset) { return double(int32_t(le32(h, offset))); };
        facts[2] = truncate(std::trunc((field(32) - field(24) + 1) * 72 / 2540));
        facts[3] = truncate(std::trunc((field(36) - field(28) + 1) * 72 / 2540));
        facts[4] = 2;
    } else {
        facts[4] = 0;
    }
}

void pcl_facts(const unsigned char* h, int* facts)
{
    facts[4] = find_bytes(h, "s3u1A") >= 0 || find_bytes(h, "s-3u1A") >= 0 ? 8 : 2;
    int at = find_bytes(h, "\x1b*t");
    if (at >= 0 && at + 6 <= HEADER_LENGTH) {
        int resolution = 0;
        IStrToInteger(std::string_view((const char*)h + at + 3, 3), resolution);
        if (resolution > 0)
            facts[5] = resolution;
    }
}

void escp_facts(const unsigned char* h, int type, int* facts)
{
    facts[4] = find_bytes(h, std::string_view("\x1br\x04", 3)) >= 0 ? 8 : 0;
    if (type != IMG_TYPE_ESCP)
        return;
    int at = find_bytes(h, std::string_view("\x1b(U\x01\x00", 5));
    if (at >= 0 && at + 5 < HEADER_LENGTH && h[at + 5] != 0)
        facts[5] = 3600 / h[at + 5];
}

void png_facts(const unsigned char* h, int* facts)
{
    facts[2] = int(be32(h, 16));
    facts[3] = int(be32(h, 20));
    int colour_type = h[25];
    if (colour_type == 2 || colour_type == 6)
        facts[4] = 16777216;
    else if (colour_type == 3)
        facts[4] = power_of_two(h[24]);
    facts[5] = h[28];
}

//--- structure walkers

// Reads exactly n bytes; false (error 2) when fewer come.
bool read_exactly(int handle, unsigned char* buffer, int n)
{
    int count = 0;
    IOsBinRead(handle, buffer, n, count);
    if (count == n)
        return true;
    if (count >= 0) {
        IErrorReport(ERR_READ_WRITE);
        ERROR_STATE.last_file_error = 0;
    }
    return false;
}

// Integer of the CGM's integer precision at byte position at of the parameters (0 past their end).
long long cgm_integer(const unsigned char* p, int length, int at, int precision)
{
    if (precision == 16)
        return at + 2 <= length ? int16_t(p[at] << 8 | p[at + 1]) : 0;
    return at + 4 <= length ? int32_t(be32(p, at)) : 0;
}

// Aspect (x2 - x1) / (y2 - y1) of the four extent values at the start of the parameters; false for an
// extent of zero height, which gives no aspect.
bool cgm_extent_aspect(const unsigned char* p, int length, int vdc_type, int precision, float& aspect)
{
    double v[4];
    int step = vdc_type == 0 ? std::max(precision / 8, 1) : 4;
    for (int k = 0; k < 4; ++k)
        v[k] = vdc_type == 0 ? double(cgm_integer(p, length, k * step, precision))
                             : double(cgm_integer(p, length, k * step, 32));
    float height = float(v[3] - v[1]);
    if (height == 0.0f)
        return false;
    aspect = float(double(float(v[2] - v[0])) / height);
    return true;
}

}  // namespace

void IImgReadLE(const unsigned char* bytes, int size, uint32_t& value)
{
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8;
    if (size == 4)
        value |= uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void IImgReadBE32(const unsigned char* bytes, uint32_t& value)
{
    value =
        uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

void IStrNextWordInteger(std::span<char> text, int& value)
{
    IStrToInteger(take_word(text), value);
}

void IStrNextWordReal(std::span<char> text, float& value)
{
    report_if(text_to_real(take_word(text), value));
}

void IImgPlotPageCount(std::string_view name, int& pages)
{
    std::string path = trimmed_name(name);
    errno = 0;
    TextLines text(path);
    if (path.empty() || !text.is_open()) {
        IErrorReport(ERR_OPEN_FILE);
        ERROR_STATE.last_file_error = errno;
        return;
    }
    int mode = IErrorInfo(4);
    IErrorModeSet(0);
    pages = 0;
    std::string line;
    while (text.next(line)) {
        line.replace(10, std::string::npos, LINE_LENGTH - 10, ' ');  // the first 10 characters count
        size_t after = 0;
        std::string mnemonic = take_mnemonic(line, after);
        if (mnemonic == "SC" && line.find_first_not_of(' ') != std::string::npos) {
            if (next_integer(line) == -3)
                ++pages;
        } else if (mnemonic == "CO" && !colon_at(line, after)) {
            std::string words = quoted_text(line);
            if (!words.empty() && next_integer(words) == 3)
                ++pages;
        }
    }
    IErrorModeSet(mode);
    if (pages == 0)
        pages = 1;
}

void IImgCgmScan(std::string_view name, int& pictures, float& aspect)
{
    constexpr int PARAMETER_BUFFER = 1040;
    int handle = -1;
    IOsBinOpen(name, 0, handle);
    if (handle == -1)
        return;
    int precision = 16;  // integer precision in bits
    int vdc_type = 0;    // 0 integer, 1 real
    int count = 0;
    float vdc_aspect = 1.0f, max_aspect = 1.0f;
    bool vdc_seen = false, max_seen = false;
    unsigned char word[2];
    unsigned char parameters[PARAMETER_BUFFER];
    int element_class = 0, element_id = 0;
    bool more_partitions = false;
    for (;;) {
        int length = 0;
        if (!read_exactly(handle, word, 2))
            break;
        int head = word[0] << 8 | word[1];
        if (more_partitions) {
            more_partitions = (head & 0x8000) != 0;
            length = head & 0x7FFF;
        } else {
            element_class = head >> 12;
            element_id = (head >> 5) & 0x7F;
            length = head & 0x1F;
            if (length == 31) {
                if (!read_exactly(handle, word, 2))
                    break;
                int partition = word[0] << 8 | word[1];
                more_partitions = (partition & 0x8000) != 0;
                length = partition & 0x7FFF;
            }
        }
        length += length & 1;

        bool vdc_extent = element_class == 2 && element_id == 6;
        bool max_extent = element_class == 1 && element_id == 17;
        bool type_element = element_class == 1 && element_id == 3;
        bool precision_element = element_class == 1 && element_id == 4;
        bool defaults_element = element_class == 1 && element_id == 12;
        int kept = 0;  // parameter bytes in the buffer
        if (length > 0 && (vdc_extent || max_extent || type_element || precision_element)) {
            // Parameters beyond the buffer are skipped, not read over it.
            kept = std::min(length, PARAMETER_BUFFER);
            if (!read_exactly(handle, parameters, kept))
                break;
            if (length > kept) {
                int skip = length - kept;
                IOsBinSeek(handle, skip, 1);
                if (skip < 0)
                    break;
            }
        } else if (length > 0 && !defaults_element) {
            int skip = length;
            IOsBinSeek(handle, skip, 1);
            if (skip < 0)
                break;
        }

        if (element_class == 0 && element_id == 2)
            break;  // END METAFILE
        if (element_class == 0 && element_id == 5)
            ++count;  // END PICTURE
        if (type_element && kept >= 2)
            vdc_type = parameters[0] << 8 | parameters[1];
        if (precision_element && kept > 0)
            precision = int(cgm_integer(parameters, kept, 0, precision));
        if (max_extent && kept > 0)
            max_seen = cgm_extent_aspect(parameters, kept, vdc_type, precision, max_aspect) || max_seen;
        if (vdc_extent && kept > 0)
            vdc_seen = cgm_extent_aspect(parameters, kept, vdc_type, precision, vdc_aspect) || vdc_seen;
    }
    IOsBinClose(handle);
    pictures = count == 0 ? 1 : count;
    aspect = max_seen ? max_aspect : vdc_seen ? vdc_aspect : 1.0f;
}

void IImgPictureScan(std::string_view name, int& colours)
{
    int handle = -1;
    IOsBinOpen(name, 0, handle);
    if (handle == -1)
        return;
    // The longest record passed over is a count byte of 255 and (255 + 1) x 4 bytes: the buffer was
    // 256 bytes, and such a record wrote past it.
    unsigned char buffer[(255 + 1) * 4];
    if (!read_exactly(handle, buffer, 17)) {
        IOsBinClose(handle);
        return;
    }
    int count = 0;
    for (;;) {
        int got = 0;
        IOsBinRead(handle, buffer, 1, got);
        if (got != 1)
            break;
        int opcode = buffer[0];
        int skip = 0;
        if (opcode == 0xA0 || opcode == 0xA2 || opcode == 0xAC) {
            skip = 4;
        } else if (opcode == 0x30 || opcode == 0xE0) {
            if (!read_exactly(handle, buffer, 1))
                break;
            skip = (buffer[0] + 1) * 4;
        } else if (opcode == 0xA7) {
            skip = 1;
        } else if (opcode == 0xA8) {
            if (!read_exactly(handle, buffer, 1))
                break;
            do {
                if (!read_exactly(handle, buffer, 1))
                    break;
            } while (buffer[0] != 0);
            if (buffer[0] != 0)
                break;
        } else if (opcode >= 0x60 && opcode <= 0x6F) {
            ++count;
        }
        if (skip > 0 && !read_exactly(handle, buffer, skip))
            break;
    }
    IOsBinClose(handle);
    colours = count == 0 ? 1 : count;
}

void IImgFileIdentify(std::string_view name, std::span<int> info)
{
    if (info.empty())
        return;
    const int n = int(std::min<size_t>(info.size(), IMG_FILE_INFO_LENGTH));
    std::string path = trimmed_name(name);
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        info[0] = IMG_TYPE_NO_FILE;
        return;
    }
    info[0] = IMG_TYPE_UNKNOWN;
    int facts[IMG_FILE_INFO_LENGTH + 1] = {0, 0, -1, -1, -1, -1, -1};  // facts[k] is entry k

    // Length of the file; a file of fewer than 4 bytes is not identified.
    int handle = -1;
    IOsBinOpen(path, 0, handle);
    int length = 0;
    IOsBinSeek(handle, length, 2);
    IOsBinClose(handle);
    if (length < 4)
        return;

    // Text phase: the first lines of the file.
    TextLines text(path);
    std::string first_line;
    int type = text_type(text, first_line);

    // Header phase: the first 128 bytes (zeros beyond a shorter file).
    unsigned char header[HEADER_LENGTH] = {};
    handle = -1;
    if (type == IMG_TYPE_UNKNOWN) {
        IOsBinOpen(path, 0, handle);
        if (handle != -1) {
            int count = 0;
            IOsBinRead(handle, header, HEADER_LENGTH, count);
            type = header_type(header);
        }
    }
    facts[1] = type;

    if (n >= 2) {
        int mode = IErrorInfo(4);
        switch (type) {
        case IMG_TYPE_BMP:
            facts[2] = int(le32(header, 18));
            facts[3] = int(le32(header, 22));  // negative for top-down rows
            facts[4] = power_of_two(le16(header, 28));
            facts[5] = le32(header, 30) != 0 && le32(header, 30) != 3 ? 1 : 0;
            break;
        case IMG_TYPE_PCX:
            facts[2] = int(le16(header, 8)) - int(le16(header, 4)) + 1;
            facts[3] = int(le16(header, 10)) - int(le16(header, 6)) + 1;
            facts[4] = power_of_two(header[3] * header[65]);
            facts[5] = header[1];
            break;
        case IMG_TYPE_METAFILE: metafile_facts(header, facts); break;
        case IMG_TYPE_HPGL:
        case IMG_TYPE_HPGL2: {
            IErrorModeSet(0);
            PlotFacts plot = plot_scan(text, first_line, type == IMG_TYPE_HPGL2);
            IErrorModeSet(mode);
            facts[2] = plot.width;
            facts[3] = plot.height;
            facts[4] = plot.colours;
            facts[5] = plot.variant;
            if (n >= 6)
                IImgPlotPageCount(path, facts[6]);
            break;
        }
        case IMG_TYPE_CGM: {
            int pictures = 1;
            float aspect = 1.0f;
            IImgCgmScan(path, pictures, aspect);
            facts[2] = 1000;
            facts[3] = aspect != 0.0f ? truncate(1000.0 / aspect) : -1;
            facts[4] = pictures;
            break;
        }
        case IMG_TYPE_PICTURE:
            facts[2] = 3201;
            facts[3] = 2312;
            if (n >= 4)
                IImgPictureScan(path, facts[4]);
            break;
        case IMG_TYPE_DRAW:
            facts[2] = int(le32(header, 32) / 640);
            facts[3] = int(le32(header, 36) / 640);
            break;
        case IMG_TYPE_POSTSCRIPT:
            IErrorModeSet(0);
            postscript_facts(text, facts);
            IErrorModeSet(mode);
            break;
        case IMG_TYPE_PCL: pcl_facts(header, facts); break;
        case IMG_TYPE_ESCP:
        case IMG_TYPE_ESC_U: escp_facts(header, type, facts); break;
        case IMG_TYPE_DXF:
            IErrorModeSet(0);
            dxf_facts(text, facts);
            IErrorModeSet(mode);
            break;
        case IMG_TYPE_PNG: png_facts(header, facts); break;
        case IMG_TYPE_SVG:
            IErrorModeSet(0);
            svg_facts(text, facts);
            IErrorModeSet(mode);
            break;
        default: break;
        }
    }
    if (handle != -1)
        IOsBinClose(handle);
    for (int k = 1; k <= n; ++k)
        info[k - 1] = facts[k];
}
