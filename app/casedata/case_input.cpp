// Helpers shared by the two case-data readers.
#include "app/casedata/case_input.h"

#include "base/fatal.h"
#include "base/list_io.h"
#include "base/units.h"

#include <charconv>

void read_item(int& value, const std::string& item)
{
    read_list(UNIT_DATA, value, item);
}

void read_item(float& value, const std::string& item)
{
    read_list(UNIT_DATA, value, item);
}

void read_items(int* values, int n, const std::string& item)
{
    read_list(UNIT_DATA, values, n, item);
}

void read_items(float* values, int n, const std::string& item)
{
    read_list(UNIT_DATA, values, n, item);
}

std::string value_text(int value)
{
    return std::to_string(value);
}

// The shortest text that reads back as the same 4-byte real.
std::string value_text(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, result.ptr);
}

void refuse_item(std::string_view file, const std::string& item, const std::string& value,
                 const std::string& reason, std::source_location where)
{
    fatal_stop(std::string(file) + " " + item + ": value " + value + ": " + reason, where);
}

void stop_allocation(std::string_view log_line, std::string_view file, const std::string& item,
                     const std::string& value, std::source_location where)
{
    write_list(UNIT_DIAG, {log_line});
    fatal_stop(std::string(file) + " " + item + ": value " + value +
                   ": the arrays sized by it could not be allocated",
               where);
}
