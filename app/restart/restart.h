// The restart file set: the whole simulation state in eleven unformatted files, written at the end of
// a new run's set-up and at every output, read once when a stored run is continued.
#ifndef QR4T_APP_RESTART_RESTART_H
#define QR4T_APP_RESTART_RESTART_H

// Writes "QR4TP.RES", "QR4TM1.RES" ... "QR4TCS.RES" ("QR4TM5.RES" only with continuous indexing) from
// the process-wide state. The files are written under temporary names and renamed over the previous
// set only when every one of them is complete. Expects the diagnostic log (unit 9) open.
void WRITE_RESTART();

// Rebuilds the whole state from the restart set: allocates every state array from the size record,
// then fills it. A missing, short or damaged file, or a check integer other than 1234567, stops the
// program with a message naming the file. Expects the diagnostic log open and the toolkit started.
void READ_RESTART();

#endif
