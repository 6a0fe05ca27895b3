// Test equipment of the hardcopy drivers: a fixture that puts the graphics state on a 640 by 480
// window surface with the drivers installed, a recording driver at device 10, and file helpers.
#ifndef QR4T_TESTS_DRIVERS_DRIVER_FIXTURE_H
#define QR4T_TESTS_DRIVERS_DRIVER_FIXTURE_H

#include "toolkit/graphics/gr_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// One op as the recording driver saw it.
struct DriverCall {
    int op;
    int nval;
    int npts;
    int ix1;
    std::string text;  // the block's text, trailing blanks removed
};
extern std::vector<DriverCall> DRIVER_CALLS;
// The device number the recording driver answers the probe with (0: it ignores the probe).
extern int RECORDING_DEVICE_ANSWER;
std::vector<int> driver_ops();

class DriverFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Op 2 from (x1, y1) to (x2, y2) in surface units, to the hardcopy device.
void send_line(float x1, float y1, float x2, float y2);

// Whole file as bytes; empty when it cannot be read.
std::string read_file(const std::string& name);
// The file's lines without their CR LF.
std::vector<std::string> file_lines(const std::string& name);

#endif
