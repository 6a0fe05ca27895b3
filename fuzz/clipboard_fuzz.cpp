// The grid's clipboard text on any input: its state, its size and the pasted fields. Every field must
// lie inside the size the text reports.
#include "toolkit/grid/grid_exchange.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int state = WGridClipboardState(&text);
    if (state < 1 || state > 2)
        __builtin_trap();
    int columns = 0, rows = 0;
    WGridClipboardSize(text, columns, rows);
    if (columns < 1 || rows < 1)
        __builtin_trap();
    for (const GridPasteField& f : grid_paste_fields(text))
        if (f.row < 0 || f.row >= rows || f.column < 0 || f.column >= columns)
            __builtin_trap();
    return 0;
}
