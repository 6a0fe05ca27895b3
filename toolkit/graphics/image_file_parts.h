// Parts shared by the two image readers (the loader into pixel arrays and the reader into
// device-independent bitmaps): byte sources over a byte-stream file, PCX runs, PNG row geometry and
// the PNG chunk walk. Sizes from the file are checked here before anything is allocated for them.
#ifndef QR4T_TOOLKIT_GRAPHICS_IMAGE_FILE_PARTS_H
#define QR4T_TOOLKIT_GRAPHICS_IMAGE_FILE_PARTS_H

#include <cstdint>
#include <vector>

// Bytes read from a file at a time.
constexpr int IMG_READ_BUFFER = 40000;

// Sequential reader of a byte-stream file's bytes in blocks of IMG_READ_BUFFER.
class ImgByteSource {
public:
    explicit ImgByteSource(int handle) : handle_(handle), buffer_(IMG_READ_BUFFER) {}
    // The next byte, or -1 at the end of the data.
    int next();
    // Reads n bytes into out; false when the data end first.
    bool read(unsigned char* out, int n);

private:
    int handle_;
    std::vector<unsigned char> buffer_;
    int filled_ = 0;
    int at_ = 0;
};

// Reads exactly n bytes; false when fewer come.
bool img_read_exactly(int handle, unsigned char* buffer, int64_t n);
// Moves to a position from the start of the file; false when it cannot.
bool img_seek_to(int handle, int64_t position);
// Little-endian fields.
uint32_t img_le16(const unsigned char* bytes, int at);
uint32_t img_le32(const unsigned char* bytes, int at);

// Decodes one PCX plane line of line.size() bytes: a byte of C0 hexadecimal or more is a count (its
// low 6 bits) of the byte that follows, any other byte a single value; a run that passes the end of
// the line is cut there. False when the data end first.
bool img_pcx_line(ImgByteSource& source, std::vector<unsigned char>& line);

// PNG row geometry of a colour type (2 RGB, 3 palette, 6 RGBA) and bit depth: the row length with its
// filter byte and the filter distance in bytes. False for forms the toolkit does not read (palette
// depths other than 1, 2, 4, 8; RGB and RGBA depths other than 8, 16).
bool img_png_rows(int colour_type, int depth, int64_t width, int64_t& row_length, int& distance);

// What the chunk walk ended with.
enum class PngChunks {
    complete,     // IEND reached
    short_read,   // the file ended first
    overflow,     // image data beyond the capacity, or a chunk length beyond 2^31 - 1
    beyond_file,  // a chunk whose length passes the end of the file
};

// Walks the chunks after IHDR (the file positioned at byte 33): the data of the IDAT chunks are
// collected into compressed (at most capacity bytes), the entries of a PLTE chunk (at most 256) into
// palette as red + 256 green + 65536 blue, with entries = their count; other chunks are skipped. A
// chunk whose data and CRC pass file_length ends the walk (a damaged file is not decoded from what
// follows it). Chunk CRCs are not checked.
PngChunks img_png_chunks(int handle, int64_t file_length, int64_t capacity,
                         std::vector<unsigned char>& compressed, uint32_t* palette, int& entries);

// True when every row of the inflated rows starts with a filter type the format knows (0 to 4): a
// row with another type byte is not image data, and is refused rather than passed unchanged.
bool img_png_filters_known(const unsigned char* rows, int64_t row_length, int64_t row_count);

// Capacity of the compressed data of raw bytes of rows: raw / 1000 + raw + 22, and no more than the
// file holds. False (nothing to allocate) when the file is far too short for the rows: deflate
// shrinks data at most about 1032 : 1.
bool img_png_capacity(int64_t raw, int64_t file_length, int64_t& capacity);

#endif
