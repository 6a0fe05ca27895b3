// Unformatted sequential records: framing writer and reader.
#include "base/records.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "records hold items in their memory form, which must be little-endian");

namespace {

constexpr std::size_t READ_CHUNK = std::size_t(1) << 24;  // bytes added to a record buffer per read

void encode_count(std::uint32_t n, unsigned char out[4])
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(n >> (8 * i));
}

std::int32_t decode_count(const unsigned char in[4])
{
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    return static_cast<std::int32_t>(n);
}

std::string io_reason(std::FILE* f)
{
    if (std::ferror(f))
        return errno != 0 ? std::strerror(errno) : "read error";
    return "end of file";
}

}  // namespace

void RecordWriter::append_copy(const void* p, std::size_t n)
{
    if (n == 0)
        return;
    const auto* bytes = static_cast<const unsigned char*>(p);
    pieces_.push_back({nullptr, copies_.size(), n});
    copies_.insert(copies_.end(), bytes, bytes + n);
    size_ += n;
}

void RecordWriter::append_reference(const void* p, std::size_t n)
{
    if (n == 0)
        return;
    pieces_.push_back({static_cast<const unsigned char*>(p), 0, n});
    size_ += n;
}

bool RecordWriter::write(std::FILE* f, std::string& error) const
{
    if (size_ > RECORD_LIMIT) {
        error = "record of " + std::to_string(size_) + " bytes exceeds the limit of " +
                std::to_string(RECORD_LIMIT) + " bytes";
        return false;
    }
    unsigned char count[4];
    encode_count(static_cast<std::uint32_t>(size_), count);
    errno = 0;
    bool ok = std::fwrite(count, 1, 4, f) == 4;
    for (const Piece& piece : pieces_) {
        const unsigned char* src = piece.external ? piece.external : copies_.data() + piece.offset;
        ok = ok && std::fwrite(src, 1, piece.n, f) == piece.n;
    }
    ok = ok && std::fwrite(count, 1, 4, f) == 4;
    if (!ok) {
        error = std::string("write of a record of ") + std::to_string(size_) +
                " bytes failed: " + (errno != 0 ? std::strerror(errno) : "write error");
        return false;
    }
    return true;
}

bool RecordReader::read(std::FILE* f, std::string& error)
{
    bytes_.clear();
    pos_ = 0;
    errno = 0;

    unsigned char head[4];
    std::size_t got = std::fread(head, 1, 4, f);
    if (got == 0) {
        error = "no record: " + io_reason(f);
        return false;
    }
    if (got < 4) {
        error = "file ends inside a record's leading byte count";
        return false;
    }
    std::int32_t n = decode_count(head);
    if (n < 0) {
        error = "record byte count " + std::to_string(n) + " is negative";
        return false;
    }

    // The count is not trusted: the buffer grows by what is actually read.
    std::size_t total = static_cast<std::size_t>(n);
    while (bytes_.size() < total) {
        std::size_t old = bytes_.size();
        std::size_t want = std::min(READ_CHUNK, total - old);
        bytes_.resize(old + want);
        std::size_t read = std::fread(bytes_.data() + old, 1, want, f);
        if (read < want) {
            std::size_t have = old + read;
            bytes_.clear();
            error = "short record: its count gives " + std::to_string(total) + " bytes, but only " +
                    std::to_string(have) + " follow (" + io_reason(f) + ")";
            return false;
        }
    }

    unsigned char tail[4];
    if (std::fread(tail, 1, 4, f) < 4) {
        bytes_.clear();
        error = "file ends before the trailing byte count of a record of " + std::to_string(total) + " bytes";
        return false;
    }
    std::int32_t m = decode_count(tail);
    if (m != n) {
        bytes_.clear();
        error = "record byte counts disagree: " + std::to_string(n) + " before the data, " +
                std::to_string(m) + " after it";
        return false;
    }
    return true;
}

bool RecordReader::take(void* p, std::size_t n)
{
    if (n > remaining())
        return false;
    if (n > 0)
        std::memcpy(p, bytes_.data() + pos_, n);
    pos_ += n;
    return true;
}
