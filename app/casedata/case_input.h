// Helpers shared by the two case-data readers: items read by number, refusals of values that the
// data model cannot hold, and allocation of the readers' arrays in groups.
#ifndef QR4T_APP_CASEDATA_CASE_INPUT_H
#define QR4T_APP_CASEDATA_CASE_INPUT_H

#include "base/array.h"
#include "base/fatal.h"

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

// value_text (base/fatal.h) gives the text of a value for a refusal message.

// Stops the program because an item holds a value the data model cannot hold. The message names the
// file, the item and the value, then the reason: "QR4TD.DAT item 13 (number of molecular species):
// value 0: a case needs at least one species".
[[noreturn]] void refuse_item(std::string_view file, const std::string& item, const std::string& value,
                              const std::string& reason,
                              std::source_location where = std::source_location::current());

// Range checks of real items. Every real of the data files is a finite number within the range its
// meaning allows; a value outside stops the program with refuse_item's message ("outside 0 to 1",
// "not a finite number", ...).
// check_real: finite and low <= value <= high.
void check_real(std::string_view file, const std::string& item, float value, double low, double high);
// check_positive_real: a normal positive number (a denormal such as 1E-45 is refused: it turns into 0
// or infinity in the first product or quotient), at most `high`.
void check_positive_real(std::string_view file, const std::string& item, float value, double high);

// Speeds and velocity components: below the speed of light.
constexpr double SPEED_LIMIT = 3.0e8;
// Energies of one reaction (joules): far beyond any molecular bond energy (about 1E-18 J).
constexpr double REACTION_ENERGY_LIMIT = 1.0e-15;

// Writes the group's allocation-failure line ("PROGRAM COULD NOT ALLOCATE ...", as the caller gives
// it) to the diagnostic log, then stops the program: the run cannot go on without the group's arrays.
// `file`, `item` and `value` name the count that sized them.
[[noreturn]] void stop_allocation(std::string_view log_line, std::string_view file, const std::string& item,
                                  const std::string& value,
                                  std::source_location where = std::source_location::current());

// Bytes of an array of T with the extents (a negative extent counts as 0), where no product overflows.
template <class T, class... E>
long double case_array_bytes(E... extents)
{
    long double bytes = sizeof(T);
    for (long long e : {static_cast<long long>(extents)...})
        bytes *= e < 0 ? 0 : e;
    return bytes;
}

// Allocates one array of a group (zero-filled; a negative extent counts as 0). False when memory is
// short, the size overflows, or the array would pass CASE_ARRAY_BYTE_LIMIT.
template <class T, int Rank, class... E>
bool allocate_case_array(Array<T, Rank>& array, E... extents)
{
    array.deallocate();
    if (case_array_bytes<T>(extents...) > static_cast<long double>(CASE_ARRAY_BYTE_LIMIT))
        return false;
    return array.allocate(extents...);
}

// The arrays of one group, allocated one after another: together they must not pass
// CASE_ARRAY_BYTE_LIMIT either. Each array within the limit alone did not bound its group: ten
// reaction-input arrays of 859 MB each, 8.6 GB in all, were allocated for a flow-data file of 621
// bytes before the reading found it short.
class CaseArrayGroup {
public:
    // As allocate_case_array; also false when the group's arrays so far and this one pass the limit.
    template <class T, int Rank, class... E>
    bool allocate(Array<T, Rank>& array, E... extents)
    {
        bytes_ += case_array_bytes<T>(extents...);
        if (bytes_ > static_cast<long double>(CASE_ARRAY_BYTE_LIMIT)) {
            array.deallocate();
            return false;
        }
        return allocate_case_array(array, extents...);
    }

private:
    long double bytes_ = 0;  // of the group's arrays so far
};

#endif
