// The close-request poll shared by the set-up, the initial state and the time-step loop.
#include "app/geometry/close_request.h"

#include "base/fatal.h"
#include "toolkit/win/entry.h"

int poll_close_request()
{
    int type = MsgNone;
    WinMessage message;
    WMsgPeek(type, message);
    if (type == MsgCloseRequest)
        program_stop();
    return type;
}
