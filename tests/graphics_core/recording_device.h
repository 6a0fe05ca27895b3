// Test equipment: recording screen and hardcopy devices for the graphics core, and a fixture that puts
// the graphics state into a known start on a 640 by 480 window surface.
#ifndef QR4T_TESTS_GRAPHICS_CORE_RECORDING_DEVICE_H
#define QR4T_TESTS_GRAPHICS_CORE_RECORDING_DEVICE_H

#include "toolkit/graphics/gr_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// One operation as a device saw it: the op, the device side and a copy of the block.
struct RecordedOp {
    int op;
    bool screen;  // true for the screen device, false for the hardcopy device
    GrPrimitiveBlockRecord block;
    std::vector<float> xs, ys;  // the polyline buffer for ops 15, 16 and 32
};

extern std::vector<RecordedOp> RECORDED;
// What a hardcopy device answers when it is offered a shape (ops 5, 9, 11, 15 with NVAL 1): a value
// for FILL(6) (2 asks for emulation) and for NVAL (-1 asks for an emulated ellipse outline).
extern int HARDCOPY_EMULATE_ANSWER;
extern int HARDCOPY_COUNT_ANSWER;

// The ops of one side, in order.
std::vector<int> recorded_ops(bool screen);
// The recorded line ops (op 2) of one side.
std::vector<RecordedOp> recorded_lines(bool screen);

class GraphicsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

#endif
