// Byte-stream files on the C library's streams, so that the same layer runs in both builds.
//
// The layer keeps a table of open streams; a handle is the table index + 1. Writes are flushed at
// once, so that a write failure (a full disk) is seen by the write that caused it and not lost at the
// close, which reports nothing.
#include "toolkit/graphics/byte_stream.h"

#include "toolkit/common/error_numbers.h"
#include "toolkit/common/error_state.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

enum class LastTransfer {
    none,
    read,
    write
};

struct BinFile {
    std::FILE* stream = nullptr;             // null = free slot
    int mode = 0;                            // 0 read-only, 1 write-only, 2 read and write
    LastTransfer last = LastTransfer::none;  // a read after a write (and back) needs a seek between
};

std::vector<BinFile> bin_files;

BinFile* bin_file(int handle)
{
    if (handle < 1 || handle > int(bin_files.size()) || !bin_files[handle - 1].stream)
        return nullptr;
    return &bin_files[handle - 1];
}

// The system's code of the last failure; never 0, so that a failure is never taken for success.
int system_code()
{
    return errno != 0 ? errno : EIO;
}

void open_failed(int& handle, int code)
{
    handle = -1;
    IErrorReport(ERR_OPEN_FILE);
    ERROR_STATE.last_file_error = code;
}

void transfer_failed(int& count_or_offset, int code)
{
    IErrorReport(ERR_READ_WRITE);
    ERROR_STATE.last_file_error = code;
    count_or_offset = -1;
}

// Switching between reading and writing on one stream needs a positioning call in between.
bool prepare(BinFile& file, LastTransfer next)
{
    if (file.last != LastTransfer::none && file.last != next && std::fseek(file.stream, 0, SEEK_CUR) != 0)
        return false;
    file.last = next;
    return true;
}

// The open file of a read or write of n bytes, ready for that transfer; null when there is nothing to
// transfer (count 0) or the transfer cannot be made (count -1, error 2). A file opened for writing
// only is never read and one opened for reading only never written, whatever the C library allows.
BinFile* transfer_file(int handle, int n, LastTransfer next, int& count)
{
    count = 0;
    BinFile* file = bin_file(handle);
    int forbidden_mode = next == LastTransfer::read ? 1 : 0;
    if (!file || file->mode == forbidden_mode) {
        transfer_failed(count, EBADF);
        return nullptr;
    }
    if (n <= 0)
        return nullptr;
    errno = 0;
    if (!prepare(*file, next)) {
        transfer_failed(count, system_code());
        return nullptr;
    }
    return file;
}

int64_t stream_tell(std::FILE* stream)
{
#if defined(_WIN32)
    return _ftelli64(stream);
#else
    return ftello(stream);
#endif
}

int stream_seek(std::FILE* stream, int64_t offset, int whence)
{
#if defined(_WIN32)
    return _fseeki64(stream, offset, whence);
#else
    return fseeko(stream, off_t(offset), whence);
#endif
}

}  // namespace

void IOsBinOpen(std::string_view name, int mode, int& handle)
{
    // The name runs from its first character that is neither blank nor NUL to its last non-blank one.
    size_t first = name.find_first_not_of(std::string_view(" \0", 2));
    if (first == std::string_view::npos)
        return open_failed(handle, 0);
    size_t last = name.find_last_not_of(' ');
    std::string path(name.substr(first, last - first + 1));
    // A name that does not fit the toolkit's 255-character name buffer with its NUL is refused
    // rather than cut (a cut name would open another file).
    if (int(path.size()) > BIN_NAME_LENGTH || mode < 0 || mode > 2)
        return open_failed(handle, 0);
    path = path.c_str();  // the system sees the name up to its first NUL

    static const char* const stream_modes[3] = {"rb", "wb", "r+b"};
    errno = 0;
    std::FILE* stream = std::fopen(path.c_str(), stream_modes[mode]);
    if (!stream)
        return open_failed(handle, system_code());

    size_t slot = 0;
    while (slot < bin_files.size() && bin_files[slot].stream)
        ++slot;
    if (slot == bin_files.size())
        bin_files.emplace_back();
    bin_files[slot] = BinFile{stream, mode, LastTransfer::none};
    handle = int(slot) + 1;
}

void IOsBinRead(int handle, void* buffer, int n, int& count)
{
    BinFile* file = transfer_file(handle, n, LastTransfer::read, count);
    if (!file)
        return;
    size_t got = std::fread(buffer, 1, size_t(n), file->stream);
    if (got < size_t(n) && std::ferror(file->stream)) {
        std::clearerr(file->stream);
        return transfer_failed(count, system_code());
    }
    std::clearerr(file->stream);  // the end of the file is no failure and must not stick
    count = int(got);
}

void IOsBinWrite(int handle, const void* buffer, int n, int& count)
{
    BinFile* file = transfer_file(handle, n, LastTransfer::write, count);
    if (!file)
        return;
    size_t put = std::fwrite(buffer, 1, size_t(n), file->stream);
    if (put < size_t(n) || std::fflush(file->stream) != 0) {
        std::clearerr(file->stream);
        return transfer_failed(count, system_code());
    }
    count = int(put);
}

void IOsBinSeek(int handle, int& offset, int origin)
{
    if (origin < 0 || origin > 2)
        return;
    BinFile* file = bin_file(handle);
    if (!file)
        return transfer_failed(offset, EBADF);
    static const int whence[3] = {SEEK_SET, SEEK_CUR, SEEK_END};
    errno = 0;
    if (stream_seek(file->stream, offset, whence[origin]) != 0)
        return transfer_failed(offset, system_code());
    file->last = LastTransfer::none;
    int64_t position = stream_tell(file->stream);
    // Positions travel as 32-bit integers: a position beyond 2^31 - 1 cannot be given back.
    if (position < 0 || position > INT_MAX)
        return transfer_failed(offset, position < 0 ? system_code() : EOVERFLOW);
    offset = int(position);
}

void IOsBinClose(int handle)
{
    if (BinFile* file = bin_file(handle)) {
        std::fclose(file->stream);
        *file = BinFile{};
    }
}

void IStrDoubleQuotes(std::span<char> text)
{
    size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    if (end == 0)
        return;
    std::string result(text.size(), ' ');
    size_t put = 0;
    for (size_t i = 0; i < end && put < result.size(); ++i) {
        result[put++] = text[i];
        if (text[i] == '"' && put < result.size())
            result[put++] = '"';
    }
    std::copy(result.begin(), result.end(), text.begin());
}
