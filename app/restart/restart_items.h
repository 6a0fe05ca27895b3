// The items of every file of the restart set, in record order: one list per file, walked by the writer,
// the reader and the length checks alike, so that they cannot drift apart.
//
// A visitor `v` is called as v(x) for each scalar (int32, float or double) and each allocatable array
// of the record, v.fixed(array, extents...) for an array of fixed size that the record always carries,
// v.fixed_block(data, count) for a fixed table held in a std::array, and v.check() for the check
// integer (the writer writes RESTART_CHECK, the reader reads it into JCHECK).
#ifndef QR4T_APP_RESTART_RESTART_ITEMS_H
#define QR4T_APP_RESTART_RESTART_ITEMS_H

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/display.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/results.h"
#include "app/state/run.h"
#include "app/state/samples.h"
#include "app/state/surface.h"

constexpr int RESTART_CHECK = 1234567;

// The files of the set in the order in which they are written and read.
enum RestartFile {
    FILE_SIZES,      // "QR4TP.RES": the size record
    FILE_MOLS_POS,   // "QR4TM1.RES"
    FILE_MOLS_PV,    // "QR4TM2.RES"
    FILE_MOLS_IP,    // "QR4TM3.RES"
    FILE_MOLS_REST,  // "QR4TM4.RES"
    FILE_XREF,       // "QR4TM5.RES", continuous indexing only
    FILE_ELEMENTS,   // "QR4TV1.RES"
    FILE_RUN_STATE,  // "QR4TV2.RES": the run-state record
    FILE_RESULTS,    // "QR4TC1.RES"
    FILE_CELLS,      // "QR4TC2.RES"
    FILE_CELL_SUMS,  // "QR4TCS.RES"
    RESTART_FILE_COUNT,
};

inline const char* const RESTART_FILE_NAME[RESTART_FILE_COUNT] = {
    "QR4TP.RES",  "QR4TM1.RES", "QR4TM2.RES", "QR4TM3.RES", "QR4TM4.RES", "QR4TM5.RES",
    "QR4TV1.RES", "QR4TV2.RES", "QR4TC1.RES", "QR4TC2.RES", "QR4TCS.RES"};

// "QR4TM5.RES" belongs to the set only with continuous indexing.
inline bool restart_file_in_set(int file)
{
    return file != FILE_XREF || RUN.INDEX_MODE == INDEX_CONTINUOUS;
}

// The 32 size items and the check integer of "QR4TP.RES". MAX_CELLS is items 9 and 30.
template <class V>
void size_record_items(V& v)
{
    v(SURFACE.SURFACE_COUNT);
    v(GAS.SPECIES_COUNT);
    v(SURFACE.POINT_COUNT);
    v(SURFACE.TRIANGLE_COUNT);
    v(BOX.DIVISIONS_X);
    v(BOX.DIVISIONS_Y);
    v(BOX.DIVISIONS_Z);
    v(DIVISIONS.TOTAL_SURFACE_INDEX_SIZE);
    v(CELLS.MAX_CELLS);
    v(RUN.MNM);
    v(MOLECULES.PV_ROWS);
    v(MOLECULES.IP_ROWS);
    v(RUN.XREF_SIZE);
    v(MOLECULES.IPS_SIZE);
    v(MOLECULES.ISCH_SIZE);
    v(DIVISIONS.SURFACE_DIVISION_COUNT);
    v(DIVISIONS.SURFACE_ELEMENT_COUNT);
    v(DIVISIONS.MNSEG);
    v(RUN.SAMPLING_MODE);
    v(GAS.MAX_VIB_MODES);
    v(GAS.GAS_REACTION_DIM);
    v(GAS.SURFACE_REACTION_DIM);
    v(GAS.THIRD_BODY_DIM);
    v(RUN.SURFACE_ROW1_MAX);
    v(SURFACE.SOLID_TRIANGLE_COUNT);
    v(SURFACE.ENTRY_TRIANGLE_COUNT);
    v(BOX.ELEMENTS_PER_DIVISION_X);
    v(BOX.ELEMENTS_PER_DIVISION_Y);
    v(BOX.ELEMENTS_PER_DIVISION_Z);
    v(CELLS.MAX_CELLS);
    v(RUN.INDEX_MODE);
    v(RUN.SUBCELL_MODE);
    v.check();
}

// Every current display setting followed by its previous value.
template <class V>
void display_pair(V& v, DisplayPair& pair)
{
    v(pair.current);
    v(pair.previous);
}

// The run-state record of "QR4TV2.RES": 206 items, 203 without vibration (items 91 to 93 left out).
template <class V>
void run_state_items(V& v)
{
    auto& B = BOX;
    auto& S = SURFACE;
    auto& D = DIVISIONS;
    auto& G = GAS;
    auto& R = RUN;
    auto& SM = SAMPLES;
    auto& DS = DISPLAY;
    v(B.SCALE_FACTOR);  // 1
    v(S.SURFACE_POINT_COUNT);
    v(S.TRIANGLE_SURFACE);
    v(S.TRIANGLE);
    v(S.SURFACE_SPARE_1);  // 5
    v(S.SURFACE_SPARE_2);
    v.fixed(B.BOUNDARY_CODE, BOX_SIDES);
    v(S.POINT_X);
    v(S.POINT_Y);
    v(S.POINT_Z);  // 10
    v(S.TRIANGLE_GEOMETRY);
    v(B.XMIN);
    v(B.XMAX);
    v(B.YMIN);
    v(B.YMAX);  // 15
    v(B.ZMIN);
    v(B.ZMAX);
    v(D.DIVISION_COUNT);
    v(D.MAX_DIVISION_LEVEL);
    v(D.FLOW_DIVISION_COUNT);  // 20
    v(D.DIVISION_WIDTH_X);
    v(D.DIVISION_WIDTH_Y);
    v(D.DIVISION_WIDTH_Z);
    v(D.MIN_DIVISION_WIDTH);
    v(D.MIN_ELEMENT_WIDTH);  // 25
    v(D.BOX_EXTENT_X);
    v(D.BOX_EXTENT_Y);
    v(D.BOX_EXTENT_Z);
    v(D.DIVISION_INFO);
    v(CELLS.IRCELL);  // 30
    v(D.SURFACE_INDEX);
    v(R.SPARE_RUN_INT);
    v(MOLECULES.SUBCELL_IJK);
    v(R.SPARE_INT_ARRAY);
    v(D.TOTAL_SURFACE_INDEX);  // 35
    v.fixed(D.NEIGHBOUR_DIVISIONS, 26, 3);
    v.fixed(D.PATH_DIVISIONS, 26, 3, 8);
    v(R.MOVES_PER_COLL_TIME);
    v(R.MOVES_PER_TRANSIT);
    v(G.STREAM_DENSITY);  // 40
    v(G.STREAM_TEMP);
    v(G.STREAM_U);
    v(G.STREAM_V);
    v(G.STREAM_W);
    v(G.STREAM_SPEED);  // 45
    v(G.STREAM_MACH);
    v(G.SINGLE_CROSS_SECTION);
    v(G.SINGLE_REDUCED_MASS);
    v(G.SINGLE_GAMMA_FACTOR);
    v(G.MAX_SPECIES_VMP);  // 50
    v(G.STREAM_FRACTION);
    v(G.VMP);
    v(G.SPECIES_DATA);
    v(G.SPECIES_PAIR_DATA);
    v(G.SPECIES_ROTATION);  // 55
    v(R.SAMPLES_PER_OUTPUT);
    v(R.STEADY_AFTER_OUTPUTS);
    v(R.ROUNDOFF_COUNT);
    v(R.OUTPUT_COUNT);
    v(R.FNUM);  // 60
    v(R.REF_TIME);
    v(R.OUTPUT_INTERVAL_REF);
    v(R.AVERAGING_FRACTION);
    v(D.GEOMETRY_TOLERANCE);
    v(R.DTM);  // 65
    v(R.SPARE_RUN_REAL);
    v(R.SAMPLE_INTERVAL);
    v(R.SAMPLE_GAP);
    v(R.SEP_MFP_RATIO);
    v(R.OUTPUT_INTERVAL);  // 70
    v(R.TIME);
    v(R.STOP_TIME);
    v(R.STEADY_START_TIME);
    v(R.OUTPUT_TIME);
    v(R.SAMPLE_TIME);  // 75
    v(R.COLLISION_COUNT);
    v(SM.PAIR_COLL_COUNT);
    v(R.MOVE_COUNT);
    v(R.ENTRY_COUNT);
    v(R.REMOVAL_COUNT);  // 80
    v(R.SURFACE_HIT_COUNT);
    v(R.DTM_INITIAL);
    v(SM.SAMPLE_COUNT);
    v(SM.SAMPLE_START_TIME);
    v(SM.SURF_SAMPLE);  // 85
    v(SM.SURF_FORCE_SAMPLE);
    v(SM.ADIABATIC_SAMPLE);
    v(G.SURF_REACTANTS);
    v(G.SURF_REACTION_PRODUCTS);
    v(G.SURF_REACTION_ENERGY);  // 90
    if (G.MAX_VIB_MODES > 0) {
        v(G.VIB_MODE_COUNT);
        v(G.VIB_TEMP);
        v(G.VIB_RELAX);  // 93
    }
    v(G.GAS_REACTIONS);
    v(G.SURFACE_REACTIONS);  // 95
    v(G.THIRD_BODY_TABLES);
    v(G.REACTION_CONSTANTS);
    v(G.THIRD_BODY_TABLE);
    v(G.REACTION_REACTANTS);
    v(G.REACTION_PRODUCT_COUNT);  // 100
    v(G.REACTION_PRODUCTS);
    v(G.REACTION_PAIR_COUNT);
    v(G.REACTION_PAIR_LIST);
    v(G.REACTION_COUNT);
    v(G.SURF_REACTION_COUNT);  // 105
    v(RESULTS.VARS);
    display_pair(v, DS.FLOW_PROPERTY);
    display_pair(v, DS.SURF_DISPLAY_PROPERTY);
    display_pair(v, DS.DISPLAY_SPARE[0]);  // 111-112
    v.fixed(R.NM_HISTORY, 2, 200);
    v(R.HISTORY_INDEX);
    display_pair(v, DS.FORCE_SURFACE);  // 115-116
    display_pair(v, DS.DISPLAY_SPARE[1]);
    display_pair(v, DS.DISPLAY_SPARE[2]);
    display_pair(v, DS.LOG_REACTION);  // 121-122
    v(SM.NM_SAMPLE_START);
    display_pair(v, DS.FLOW_LOG_SCALE);
    display_pair(v, DS.SURF_LOG_SCALE);
    display_pair(v, DS.FLOW_COLOUR_MAP);  // 128-129
    display_pair(v, DS.FLOW_PLANE_AXIS);
    display_pair(v, DS.FLOW_PLANE_DIVISION);
    display_pair(v, DS.FLOW_PLANE_ELEMENT);  // 134-135
    v(R.PICTURE_COUNTER);
    v.fixed_block(DS.FLOW_LINE_X.data(), DS.FLOW_LINE_X.size());
    v.fixed_block(DS.FLOW_LINE_Y.data(), DS.FLOW_LINE_Y.size());
    v(R.SPARE_DISPLAY_INT);
    v(DS.FLOW_LINE_COUNT);  // 140
    display_pair(v, DS.SURF_VIEW_ZOOM);
    display_pair(v, DS.DISPLAY_SPARE[3]);
    display_pair(v, DS.DISPLAY_SPARE[4]);  // 145-146
    v(R.OUTPUT_UNITS);
    v(R.OUTPUT_UNITS);  // the same variable a second time
    v(R.REFERENCE_AREA);
    v(DS.REFERENCE_LENGTH);  // 150
    v(G.STREAM_MASS_DENSITY);
    v(G.STREAM_PRESSURE);
    v(S.ENTRY_TRIANGLE);
    v(S.ENTRY_PROPERTIES);
    v(S.ENTRY_SPECIES_PROPERTIES);  // 155
    v(G.EFACE);
    v(S.SOLID_PROPERTIES);
    v(S.SOLID_TRIANGLE);
    v(S.SOLID_SPECIES_PROPERTIES);
    v(S.SOLID_REACTION_PROBABILITY);  // 160
    v(G.INITIAL_GAS);
    v(G.INITIAL_STATE);
    v(G.SEPARATION_X);
    v(B.WALL_SPEED);
    v(G.SECONDARY_DENSITY);  // 165
    v(G.SECONDARY_TEMP);
    v(G.SECONDARY_U);
    v(G.SECONDARY_V);
    v(G.SECONDARY_W);
    v(G.SECONDARY_FRACTION);  // 170
    v(G.CP_LEFT_MIN_X);
    v(G.CP_LEFT_MAX_X);
    v(G.CP_ENTERED_MIN_X);
    v(G.CP_ENTERED_MAX_X);
    v(G.SEPARATION_CROSSINGS);  // 175
    v(R.OUTGAS_TOTAL);
    v(G.SURF_REACTION_SPECIES_COUNT);
    v(G.SURF_REACTION_SPECIES_LIST);
    v(CELLS.CELL_COUNT);
    v(B.ELEMENTS_PER_DIVISION_X);  // 180
    v(B.ELEMENTS_PER_DIVISION_Y);
    v(B.ELEMENTS_PER_DIVISION_Z);
    v(D.ELEMENTS_IN_DIVISION);
    v(D.ELEMENT_COUNT);
    v(D.SUB_ELEMENTS_IN_FLOW);  // 185
    v(D.SUB_ELEMENT_FRACTION);
    v(D.SUB_ELEMENTS);
    v(D.ELEMENT_WIDTH_X);
    v(D.ELEMENT_WIDTH_Y);
    v(D.ELEMENT_WIDTH_Z);  // 190
    v(D.ELEMENT_DIAGONAL);
    v(D.ELEMENT_VOLUME);
    v(DS.VIEW_MODE_3D);
    v(S.SURFACE_TRIANGLE_COUNT);
    v(S.SURFACE_SOLID_COUNT);  // 195
    v(S.SURFACE_ENTRY_COUNT);
    v(S.SURFACE_FIRST_TRIANGLE);
    display_pair(v, DS.SURF_VIEW_SHIFT_H);
    display_pair(v, DS.SURF_VIEW_SHIFT_V);  // 200-201
    display_pair(v, DS.SURF_VIEW_AZIMUTH);
    display_pair(v, DS.SURF_VIEW_ELEVATION);  // 204-205
    v.check();                                // 206
}

// The items of one file of the set.
template <class V>
void restart_items(int file, V& v)
{
    auto& M = MOLECULES;
    switch (file) {
    case FILE_SIZES: size_record_items(v); break;
    case FILE_MOLS_POS: v(M.MOL_POS); break;
    case FILE_MOLS_PV: v(M.PV); break;
    case FILE_MOLS_IP: v(M.IP); break;
    case FILE_MOLS_REST:
        v(M.MOL_TIME);
        v(M.IPS);
        if (GAS.MAX_VIB_MODES > 0)
            v(M.MOL_VIB_LEVEL);
        v(M.ISCH);
        v(M.NM);
        break;
    case FILE_XREF: v(M.XREF); break;
    case FILE_ELEMENTS: v(DIVISIONS.ELEMENT_CELL); break;
    case FILE_RUN_STATE: run_state_items(v); break;
    case FILE_RESULTS:
        v(RESULTS.VAR);
        v(RESULTS.SPECIES_VAR);
        break;
    case FILE_CELLS:
        v(CELLS.CELL_DATA);
        v(CELLS.ICELL);
        v(CELLS.CELL_TIME);
        break;
    case FILE_CELL_SUMS:
        v(SAMPLES.CELL_SAMPLE);
        v(SAMPLES.CELL_COLL_COUNT);
        v(SAMPLES.CELL_SEP_SUM);
        break;
    }
}

#endif
