// Helpers shared by the two case-data readers: items read by number, refusals of values that the
// data model cannot hold, and allocation of the readers' arrays in groups.
#ifndef QR4T_APP_CASEDATA_CASE_INPUT_H
#define QR4T_APP_CASEDATA_CASE_INPUT_H

#include "base/array.h"

#include <cstddef>
#include <source_location>
#include <string>
#include <string_view>

// The files of the case data.
inline constexpr const char* FLOW_DATA_FILE = "QR4TD.DAT";
inline constexpr const char* FLOW_SUMMARY_FILE = "QR4TD.TXT";
inline constexpr const char* SURFACE_DATA_FILE = "QR4SD.DAT";
inline constexpr const char* SURFACE_SUMMARY_FILE = "QR4SD.TXT";

// Status written after the reaction tables' allocation-failure lines.
constexpr int ALLOCATION_FAILED_STATUS = 1;

// A case-data array of more bytes than this counts as an allocation failure. Counts in the data files
// are untrusted: without the limit an absurd count could allocate (and zero-fill) more memory than
// the machine has before the reading ever finds that the file is short.
constexpr std::size_t CASE_ARRAY_BYTE_LIMIT = std::size_t(1) << 30;

// Reads one item of the open data file (unit 4). `item` names it for the fatal message of an
// unreadable value or an early end of the file. A slash or null field leaves the value as it was.
void read_item(int& value, const std::string& item);
void read_item(float& value, const std::string& item);
// Three values from one record (surface points and triangle corners).
void read_items(int* values, int n, const std::string& item);
void read_items(float* values, int n, const std::string& item);

// The text of a value for a refusal message.
std::string value_text(int value);
std::string value_text(double value);

// Stops the program because an item holds a value the data model cannot hold. The message names the
// file, the item and the value, then the reason: "QR4TD.DAT item 13 (number of molecular species):
// value 0: a case needs at least one species".
[[noreturn]] void refuse_item(std::string_view file, const std::string& item, const std::string& value,
                              const std::string& reason,
                              std::source_location where = std::source_location::current());

// Writes the group's allocation-failure line ("PROGRAM COULD NOT ALLOCATE ...", as the caller gives
// it) to the diagnostic log, then stops the program: the run cannot go on without the group's arrays.
// `file`, `item` and `value` name the count that sized them.
[[noreturn]] void stop_allocation(std::string_view log_line, std::string_view file, const std::string& item,
                                  const std::string& value,
                                  std::source_location where = std::source_location::current());

// Allocates one array of a group (zero-filled; a negative extent counts as 0). False when memory is
// short, the size overflows, or the array would pass CASE_ARRAY_BYTE_LIMIT.
template <class T, int Rank, class... E>
bool allocate_case_array(Array<T, Rank>& array, E... extents)
{
    array.deallocate();
    long double bytes = sizeof(T);
    for (long long e : {static_cast<long long>(extents)...})
        bytes *= e < 0 ? 0 : e;
    if (bytes > static_cast<long double>(CASE_ARRAY_BYTE_LIMIT))
        return false;
    return array.allocate(extents...);
}

#endif
