// Unformatted sequential records: a 4-byte little-endian byte count N, N bytes of items back to back
// in their memory form (little-endian), and N again. The restart and scratch files are sequences of
// such records. N is at most 2^31-1.
#ifndef QR4T_BASE_RECORDS_H
#define QR4T_BASE_RECORDS_H

#include "base/array.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

constexpr std::size_t RECORD_LIMIT = 2147483647;  // largest byte count of one record

// Collects the items of one record, then writes it whole. Scalars are copied when put; arrays and
// put_bytes blocks are only referenced (a restart record holds the whole molecule store, which is not
// worth a second copy), so they must stay allocated and unchanged until write().
class RecordWriter {
public:
    template <class T>
    void put(const T& v)
    {
        static_assert(std::is_arithmetic_v<T>, "scalar items only");
        append_copy(&v, sizeof v);
    }
    // A whole array in its allocated extents; an unallocated array contributes no bytes.
    template <class T, int R>
    void put(const Array<T, R>& a)
    {
        if (a.allocated())
            append_reference(a.data(), a.bytes());
    }
    void put_bytes(const void* p, std::size_t n) { append_reference(p, n); }
    std::size_t size() const { return size_; }  // data bytes so far

    // Writes the framed record. Returns false with a message in `error` when the record would exceed
    // RECORD_LIMIT bytes (nothing is written then) or the write fails.
    bool write(std::FILE* f, std::string& error) const;

private:
    struct Piece {
        const unsigned char* external;  // referenced bytes, or nullptr for bytes in copies_
        std::size_t offset;             // start in copies_ when not external
        std::size_t n;                  // byte count
    };
    void append_copy(const void* p, std::size_t n);
    void append_reference(const void* p, std::size_t n);
    std::vector<Piece> pieces_;
    std::vector<unsigned char> copies_;
    std::size_t size_ = 0;
};

// Reads one framed record, then hands out its items in order.
class RecordReader {
public:
    // Reads the next record. Returns false with a message in `error`, and holds an empty record, when
    // the file ends before or inside the record, the count is negative, or the leading and trailing
    // counts disagree. Memory grows only with the bytes actually read, so a false count in a damaged
    // file cannot demand a huge allocation.
    bool read(std::FILE* f, std::string& error);

    // The next item; false (v unchanged) when the record holds fewer bytes than the item needs.
    template <class T>
    bool get(T& v)
    {
        static_assert(std::is_arithmetic_v<T>, "scalar items only");
        return take(&v, sizeof v);
    }
    // Fills an allocated array whole from the record.
    template <class T, int R>
    bool get(Array<T, R>& a)
    {
        return a.allocated() ? take(a.data(), a.bytes()) : true;
    }
    bool get_bytes(void* p, std::size_t n) { return take(p, n); }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::size_t size() const { return bytes_.size(); }

private:
    bool take(void* p, std::size_t n);
    std::vector<unsigned char> bytes_;
    std::size_t pos_ = 0;
};

#endif
