// The instances of the process-wide graphics state and of the driver records.
#include "toolkit/graphics/gr_driver.h"
#include "toolkit/graphics/gr_state.h"

GrTargetRecord GrTarget;
GrAreaRecord GrArea;
GrUnitsRecord GrUnits;
GrCurrentPointRecord GrCurrentPoint;
GrColourStateRecord GrColourState;
GrLineStateRecord GrLineState;
GrTextStateRecord GrTextState;
GrOutputSwitchRecord GrOutputSwitch;
GrSurfaceRecord GrSurface;
GrDeviceAreaRecord GrDeviceArea;

GrPrimitiveBlockRecord GrPrimitiveBlock;
GrPolylineBufferRecord GrPolylineBuffer;
GrDeviceInfoRecord GrDeviceInfo;
GrScreenOpFlagsRecord GrScreenOpFlags;
GrDeviceCapsRecord GrDeviceCaps;

void gr_records_clear()
{
    GrTarget = GrTargetRecord{};
    GrArea = GrAreaRecord{};
    GrUnits = GrUnitsRecord{};
    GrCurrentPoint = GrCurrentPointRecord{};
    GrColourState = GrColourStateRecord{};
    GrLineState = GrLineStateRecord{};
    GrTextState = GrTextStateRecord{};
    GrOutputSwitch = GrOutputSwitchRecord{};
    GrSurface = GrSurfaceRecord{};
    GrDeviceArea = GrDeviceAreaRecord{};
    GrPrimitiveBlock = GrPrimitiveBlockRecord{};
    GrPolylineBuffer = GrPolylineBufferRecord{};
    GrDeviceInfo = GrDeviceInfoRecord{};
    GrScreenOpFlags = GrScreenOpFlagsRecord{};
    GrDeviceCaps = GrDeviceCapsRecord{};
}

// The screen draws ops 2..36 itself, not 1 and 37..40.
GrScreenOpFlagsRecord::GrScreenOpFlagsRecord()
{
    op.fill(' ');
    for (int code = 2; code <= 36; ++code)
        op[static_cast<std::size_t>(code - 1)] = 'W';
}

// The screen has every capability but positions 20 and 24; the hardcopy entry is its driver's.
GrDeviceCapsRecord::GrDeviceCapsRecord()
{
    const char screen[] = "11111111111111111110111011111";
    for (std::size_t i = 0; i < 29; ++i) {
        entry[0][i] = screen[i];
        entry[1][i] = '0';
    }
}
