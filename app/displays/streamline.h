// The streamlines of the surface display window.
#ifndef QR4T_APP_DISPLAYS_STREAMLINE_H
#define QR4T_APP_DISPLAYS_STREAMLINE_H

// Traces streamline s (1..20) from the start (x, y, z) (scaled units) into the window's streamline store:
// both halves start at the point; a start outside the flow or in a cell with fewer than 10 samples gives
// an empty streamline. A half ends when it leaves the box, enters an element without a cell or fills its
// capacity STREAMLINE_MAX_POINTS.
void TRACE_STREAMLINE(int s, float x, float y, float z);

#endif
