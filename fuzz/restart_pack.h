// A restart set packed into one input: the set list, the marker of a set being put in place and the
// eleven restart files, in that order, each as a 4-byte little-endian length and its bytes. The length
// 0xFFFFFFFF stands for a file that is absent; a length beyond the input's end takes what is left, and
// the files after the end of the input are absent.
#ifndef QR4T_FUZZ_RESTART_PACK_H
#define QR4T_FUZZ_RESTART_PACK_H

#include "app/restart/restart_items.h"
#include "app/restart/restart_set.h"

#include <array>

constexpr uint32_t PACK_ABSENT = 0xFFFFFFFF;
constexpr int PACKED_FILE_COUNT = 2 + RESTART_FILE_COUNT;

inline std::array<const char*, PACKED_FILE_COUNT> packed_file_names()
{
    std::array<const char*, PACKED_FILE_COUNT> names{SET_LIST_FILE, SET_MARKER_FILE};
    for (int file = 0; file < RESTART_FILE_COUNT; ++file)
        names[static_cast<size_t>(2 + file)] = RESTART_FILE_NAME[file];
    return names;
}

#endif
