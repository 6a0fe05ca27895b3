// The two sides of every drawing operation: the screen driver's gate and the hardcopy send.
#include "toolkit/graphics/gr_driver.h"

#include "toolkit/graphics/hardcopy_dispatch.h"

GrDeviceRoutine GrScreenDevice = nullptr;

void IGrScreenDriver(int op)
{
    if (GrOutputSwitch.screen == 0 || op < 2 || op > 38)
        return;
    if (GrScreenDevice)
        GrScreenDevice(op);
}

void IHcSendOp(int op)
{
    if (GrOutputSwitch.hardcopy >= 1)
        IHcDriverCall(op);
}

void gr_send_both(int op)
{
    IGrScreenDriver(op);
    IHcSendOp(op);
}
