// The flowfield geometry: the set-up of divisions, elements and cells for a new run, their adaption
// for a continued one, and the geometric tests that the set-up and the kernel share.
// The point locators (FIND_CELL and friends) are inline in locate.h.
#ifndef QR4T_APP_GEOMETRY_GEOMETRY_H
#define QR4T_APP_GEOMETRY_GEOMETRY_H

// ---- set-up, called by the main program

// Divisions and elements of a new run: lattice, triangle connectivity, marking of the surface elements,
// cut-element analysis, division levels and flow volume (progress dialog 107).
void SET_DIVISIONS_AND_ELEMENTS();

// The cells of a new run: nodes at the solid triangles' centroids and the flow divisions' centres,
// "NODES.TXT", and every element with flow joined to the nearest node it can see (progress dialog 111).
void SET_UP_CELLS();

// The cells listed division by division (DIVISION_INFO fields 2 and 3, ICELL row 3).
void INDEX_CELLS_BY_DIVISION();

// The cells of a continued run re-made for a target number of molecules per cell (dialog 144), with
// the molecules moved into them ("Adapt Cells and Continue"). The caller then starts a new sample and,
// with continuous indexing, rebuilds the cell lists (kernel work, which geometry does not call).
void ADAPT_CELLS();

// Every element holding 0 in ELEMENT_CELL joined to a cell; cell volumes, extents and fill fractions.
void COMBINE_ELEMENTS_INTO_CELLS();

// ---- shared tests

// Two-dimensional point-in-triangle test on projected corners (u1, w1), (u2, w2), (u3, w3) and point
// (pu, pw): inside := 1 unless the point lies strictly beyond some edge line from the opposite corner,
// the edge functions taken with a tolerance of 1e-12 (POINT_IN_TRIANGLE) or 1e-8 (_COARSE).
void POINT_IN_TRIANGLE(float u1, float w1, float u2, float w2, float u3, float w3, float pu, float pw,
                       int& inside);
void POINT_IN_TRIANGLE_COARSE(float u1, float w1, float u2, float w2, float u3, float w3, float pu, float pw,
                              int& inside);

// Where the path from P = (x, y, z) over the displacement D = (u, v, w) meets triangle t, as a fraction
// f of the path (0 <= f < 1.01), or f := 1.2 when it does not. Allocation-free: the move's hot path.
void PATH_CROSSES_TRIANGLE(int t, float x, float y, float z, float u, float v, float w, float& f);

// The "no crossing" value of PATH_CROSSES_TRIANGLE.
constexpr float NO_CROSSING = 1.2f;

#endif
