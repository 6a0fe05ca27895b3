// The grid's CSV reader on any input. The first two bytes give the grid's rows and columns (1 .. 16
// each), the rest is the file, handed to the reader in the pieces it asks for. Every field it stores
// must lie inside the grid, and every line end inside the row.
#include "toolkit/grid/grid_exchange.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

struct CheckedSink : GridCsvSink {
    int rows = 0, columns = 0;
    void field(int column, int row, const std::string&) override
    {
        if (column < 0 || column >= columns || row < 0 || row >= rows)
            __builtin_trap();
    }
    void outside() override {}
    void line_end(int column, int row) override
    {
        if (column < 0 || column + 1 >= columns || row < 0 || row >= rows)
            __builtin_trap();
    }
    void rest(int row) override
    {
        if (row < 0 || row > rows)
            __builtin_trap();
    }
    void too_long(long long, long long) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    CheckedSink sink;
    sink.rows = 1 + data[0] % 16;
    sink.columns = 1 + data[1] % 16;
    const uint8_t* file = data + 2;
    const size_t length = size - 2;
    size_t at = 0;
    grid_csv_read(
        static_cast<long long>(length),
        [&](char* buffer, int n) {
            const size_t k = std::min(length - at, static_cast<size_t>(n));
            std::memcpy(buffer, file + at, k);
            at += k;
            return static_cast<int>(k);
        },
        sink.rows, sink.columns, sink);
    return 0;
}
