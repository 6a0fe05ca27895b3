// Graphics file identification: what kind of graphics file a named file is and, where its header
// gives them, its picture size, colours, resolution and pages.
#ifndef QR4T_TOOLKIT_GRAPHICS_GRAPHICS_FILE_ID_H
#define QR4T_TOOLKIT_GRAPHICS_GRAPHICS_FILE_ID_H

#include <cstdint>
#include <span>
#include <string_view>

// ImgFileType: entry 1 of ImgFileInfo.
constexpr int IMG_TYPE_NO_FILE = -1;  // no usable name, or no such file
constexpr int IMG_TYPE_UNKNOWN = 0;   // not recognised
constexpr int IMG_TYPE_BMP = 1;
constexpr int IMG_TYPE_PCX = 2;
constexpr int IMG_TYPE_METAFILE = 3;  // placeable WMF, plain WMF or EMF
constexpr int IMG_TYPE_HPGL = 4;
constexpr int IMG_TYPE_HPGL2 = 5;
constexpr int IMG_TYPE_CGM = 6;      // binary encoding
constexpr int IMG_TYPE_PICTURE = 7;  // picture file with a 17-byte header, 3201 by 2312 units
constexpr int IMG_TYPE_DRAW = 8;
constexpr int IMG_TYPE_TERMINAL = 9;  // terminal graphics stream
constexpr int IMG_TYPE_POSTSCRIPT = 10;
constexpr int IMG_TYPE_PCL = 11;
constexpr int IMG_TYPE_ESCP = 12;
constexpr int IMG_TYPE_ESC_U = 13;  // printer stream beginning ESC U
constexpr int IMG_TYPE_DXF = 14;
constexpr int IMG_TYPE_PNG = 15;
constexpr int IMG_TYPE_SVG = 16;

// Length of ImgFileInfo: 1 type, 2 width, 3 height, 4 colours (or a per-type count), 5 per-type
// detail, 6 pages; a fact that the file does not give is -1.
constexpr int IMG_FILE_INFO_LENGTH = 6;

// Identifies the named file into info[0 .. n-1] (entry k of ImgFileInfo is info[k-1]); n is
// info.size(), at most 6 entries are written. Entry 1 is always written; a file shorter than 4 bytes,
// a blank name or a missing file writes entry 1 only.
void IImgFileIdentify(std::string_view name, std::span<int> info);

// value = bytes 0, 1 as a little-endian unsigned number; with size 4, bytes 2, 3 as the upper half.
void IImgReadLE(const unsigned char* bytes, int size, uint32_t& value);
// value = bytes 0..3 as a big-endian number.
void IImgReadBE32(const unsigned char* bytes, uint32_t& value);

// The word reader: converts the first blank-delimited word of the text and overwrites it with
// blanks, so that the next call takes the next word. Conversion errors are reported (4, 10, 12) and
// give 0.
void IStrNextWordInteger(std::span<char> text, int& value);
void IStrNextWordReal(std::span<char> text, float& value);

// Pages of an HP-GL or HP-GL/2 plot file (at least 1); unchanged when the file cannot be opened.
void IImgPlotPageCount(std::string_view name, int& pages);
// Pictures (at least 1) and the aspect ratio of the largest VDC extent of a binary CGM; both
// unchanged when the file cannot be opened.
void IImgCgmScan(std::string_view name, int& pictures, float& aspect);
// Colour codes (at least 1) of a type-7 picture file; unchanged when the file cannot be opened.
void IImgPictureScan(std::string_view name, int& colours);

#endif
