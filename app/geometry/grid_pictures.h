// The two pictures of the grid that hold the set-up until their window is closed: one plane of
// divisions and elements at a time, chosen in the plane dialog 138.
#ifndef QR4T_APP_GEOMETRY_GRID_PICTURES_H
#define QR4T_APP_GEOMETRY_GRID_PICTURES_H

// "Flowfield Divisions and Elements in Specified Planes": divisions coloured by level, the elements of
// the surface divisions by their share of flow; legend dialog 104 with the "Stop Program" check box,
// which ends the program. Shown at the end of SET_DIVISIONS_AND_ELEMENTS when there are surfaces,
// before the set-up's temporaries are released; it needs SUB_ELEMENTS_IN_FLOW and the status that the
// set-up leaves in ELEMENT_CELL.
void DRAW_DIVISIONS_AND_ELEMENTS();

// "Flowfield Cells (Some elements are partly inside the surface)": every element in the colour of its
// cell (ICOL, one random number per cell drawn when the picture opens); when the window is closed the
// picture is saved as "DSCELLS.BMP". Shown by SET_UP_CELLS and ADAPT_CELLS.
void DRAW_CELLS();

#endif
