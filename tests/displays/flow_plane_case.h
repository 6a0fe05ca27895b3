// Fixture of the flowfield display tests on the headless toolkit: a small box built in the test
// (flow_box.h), and a reader of the recorded calls as numbers.
#ifndef QR4T_TESTS_DISPLAYS_FLOW_PLANE_CASE_H
#define QR4T_TESTS_DISPLAYS_FLOW_PLANE_CASE_H

#include "app/displays/section_state.h"

#include "display_case.h"
#include "flow_box.h"

#include <sstream>
#include <vector>

// One recorded call: its name and its numbers (a text between bars, as window text records it, in
// `text`).
struct RecordedCall {
    std::string name;
    std::vector<double> numbers;
    std::string text;
};

inline RecordedCall parse_call(const std::string& line)
{
    RecordedCall c;
    std::string rest = line;
    const auto bar = rest.find('|');
    if (bar != std::string::npos) {
        const auto end = rest.rfind('|');
        c.text = rest.substr(bar + 1, end - bar - 1);
        rest = rest.substr(0, bar) + rest.substr(end + 1);
    }
    std::istringstream in(rest);
    in >> c.name;
    std::string word;
    while (in >> word) {
        try {
            c.numbers.push_back(std::stod(word));
        } catch (...) {
            c.text += word;  // a format such as "(F5.1)"
        }
    }
    return c;
}

// The recorded calls of one operation, in order.
inline std::vector<RecordedCall> calls_of(const std::string& name)
{
    std::vector<RecordedCall> out;
    for (const std::string& line : HEADLESS.calls)
        if (line.rfind(name + " ", 0) == 0 || line == name)
            out.push_back(parse_call(line));
    return out;
}

class FlowPlaneTest : public DisplayCaseTest {
protected:
    static void make_box(const float low[3], const float high[3], const int divisions[3],
                         const int elements[3], int species = 1)
    {
        ASSERT_TRUE(make_flow_box(low, high, divisions, elements, species));
    }
    static int& element_cell(int i, int j, int k) { return flow_element_cell(i, j, k); }
};

#endif
