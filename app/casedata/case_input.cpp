// Helpers shared by the two case-data readers.
#include "app/casedata/case_input.h"

#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <cfloat>
#include <cmath>

namespace {

// The last item that a null field or a slash left as it was: a refusal of it reports the value as
// null, not as the 0 the item happened to hold.
std::string NULL_ITEM;

void note_read(bool value_given, const std::string& item)
{
    if (!value_given)
        NULL_ITEM = item;
    else if (NULL_ITEM == item)
        NULL_ITEM.clear();
}

}  // namespace

void read_item(int& value, const std::string& item)
{
    note_read(read_list(UNIT_DATA, value, item), item);
}

void read_item(float& value, const std::string& item)
{
    note_read(read_list(UNIT_DATA, value, item), item);
}

void read_items(int* values, int n, const std::string& item)
{
    note_read(read_list(UNIT_DATA, values, n, item), item);
}

void read_items(float* values, int n, const std::string& item)
{
    note_read(read_list(UNIT_DATA, values, n, item), item);
}

void refuse_item(std::string_view file, const std::string& item, const std::string& value,
                 const std::string& reason, std::source_location where)
{
    const std::string shown = item == NULL_ITEM ? "null (the file gives no value)" : value;
    fatal_stop(std::string(file) + " " + item + ": value " + shown + ": " + reason, where);
}

void check_real(std::string_view file, const std::string& item, float value, double low, double high)
{
    if (!std::isfinite(value))
        refuse_item(file, item, value_text(value), "not a finite number");
    if (value < low || value > high)
        refuse_item(file, item, value_text(value), "outside " + value_text(low) + " to " + value_text(high));
}

void check_positive_real(std::string_view file, const std::string& item, float value, double high)
{
    if (!std::isfinite(value))
        refuse_item(file, item, value_text(value), "not a finite number");
    if (!(value >= FLT_MIN))
        refuse_item(file, item, value_text(value),
                    "a positive value of at least " + value_text(FLT_MIN) + " is needed");
    if (value > high)
        refuse_item(file, item, value_text(value), "above " + value_text(high));
}

void stop_allocation(std::string_view log_line, std::string_view file, const std::string& item,
                     const std::string& value, std::source_location where)
{
    write_list(UNIT_DIAG, {log_line});
    fatal_stop(std::string(file) + " " + item + ": value " + value +
                   ": the arrays sized by it could not be allocated",
               where);
}
