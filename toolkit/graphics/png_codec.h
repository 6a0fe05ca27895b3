// PNG codec primitives: big-endian fields, chunk names, the chunk CRC, row filters and the zlib
// wrappers, shared by the image loader, the image savers and the bitmap-file output device.
#ifndef QR4T_TOOLKIT_GRAPHICS_PNG_CODEC_H
#define QR4T_TOOLKIT_GRAPHICS_PNG_CODEC_H

#include <cstddef>
#include <cstdint>
#include <string_view>

// The 8-byte signature that opens every PNG file.
constexpr unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// b0 * 2^24 + b1 * 2^16 + b2 * 2^8 + b3 of the four bytes.
uint32_t IImgPngGetBE32(const unsigned char* bytes);
// Stores the value most significant byte first.
void IImgPngPutBE32(uint32_t value, unsigned char* bytes);
// 1 when the four bytes equal the four characters of the name, else 0 (a name character of code 128
// or more never matches).
int IImgPngChunkIs(const unsigned char* bytes, std::string_view name);
// crc = the chunk CRC of the first n bytes of the buffer.
void IImgPngCrc(size_t n, uint32_t& crc, const unsigned char* buffer);
// The chunk CRC (CRC-32 of ISO 3309 / ITU-T V.42) of the first n bytes of the buffer.
uint32_t IImgPngCrcCompute(const unsigned char* buffer, size_t n);
// Undoes the PNG row filters of rows rows of row_length bytes each (filter byte included) in place;
// bytes_per_pixel is the filter distance (at least 1).
void IImgPngUnfilter(size_t row_length, size_t rows, int bytes_per_pixel, unsigned char* buffer);

// zlib compress / uncompress of source_length bytes; destination_length is the room on entry and the
// bytes written on return; status is zlib's return code (0 success). Neither reports an error.
void IImgDeflate(const unsigned char* source, unsigned char* destination, size_t source_length,
                 size_t& destination_length, int& status);
void IImgInflate(const unsigned char* source, unsigned char* destination, size_t source_length,
                 size_t& destination_length, int& status);
// IImgInflate that reports a failure: error 1044, the zlib status kept as the last operating-system
// error code, destination_length 0.
void IImgUncompress(const unsigned char* source, unsigned char* destination, size_t source_length,
                    size_t& destination_length);

// The value's four bytes, most significant first, into buffer[count..count + 3]; count grows by 4.
void IImgPutBE32(uint32_t value, unsigned char* buffer, int& count);
// zlib compress (IImgDeflate) of source_length bytes into destination; destination_length is the room
// on entry and the stream's length on return. A failure reports error 1044 and returns length 0.
void IImgCompress(const unsigned char* source, unsigned char* destination, size_t source_length,
                  size_t& destination_length);

#endif
