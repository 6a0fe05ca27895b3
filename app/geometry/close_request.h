// The one poll of the toolkit that the set-up, the initial state and the time-step loop make between
// their stages: a close request (the main window's close box) ends the program at once.
#ifndef QR4T_APP_GEOMETRY_CLOSE_REQUEST_H
#define QR4T_APP_GEOMETRY_CLOSE_REQUEST_H

// Peeks at the toolkit's next message once. A close request ends the program at once, without a
// message and without writing any file (program_stop); otherwise returns the message's type (MsgNone
// when nothing waits), which the time-step loop passes on to the displays.
int poll_close_request();

#endif
