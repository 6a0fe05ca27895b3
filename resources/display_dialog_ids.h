// Dialog and control ids of the result displays' dialogs, shared by display_dialogs.rc and the code.
// The resource compiler reads only preprocessor definitions, so the ids are macros here and nowhere
// else. A control id keeps the number the dialogs give it; where one number serves several dialogs
// with different meanings, each meaning has its own name.
#ifndef QR4T_RESOURCES_DISPLAY_DIALOG_IDS_H
#define QR4T_RESOURCES_DISPLAY_DIALOG_IDS_H

// ---- dialogs shown while the computation runs
#define IDD_PROGRESS_LOG 120             // "Progressive Log of the Current DSMC Computation"
#define IDD_OUTPUT_UNITS 129             // "Output Units" bar
#define IDD_FLOW_TOOLBAR_SI 112          // flowfield toolbar, SI
#define IDD_FLOW_TOOLBAR_ENGLISH 127     // flowfield toolbar, English
#define IDD_FLOW_TOOLBAR_RATIO 134       // flowfield toolbar, dimensionless
#define IDD_SURFACE_TOOLBAR 119          // surface toolbar
#define IDD_FORCES_SI 126                // forces and moments, SI
#define IDD_FORCES_ENGLISH 121           // forces and moments, English
#define IDD_FORCES_COEFFICIENTS 122      // force and moment coefficients

// ---- dialogs of the paused displays, loaded with the others and shown by those displays
#define IDD_STREAMLINE_START 130         // surface display window: streamline start
#define IDD_SURFACE_WINDOW_OPTIONS 131   // surface display window: scale and view options
#define IDD_SURFACE_WINDOW_PROPERTY 132  // surface display window: property choice
#define IDD_TRIANGLE_VALUES_SI 133       // surface display window: values of one triangle, SI
#define IDD_TRIANGLE_VALUES_ENGLISH 117
#define IDD_TRIANGLE_VALUES_RATIO 128
#define IDD_SECTION_PLANE_SI 118         // section display: property and plane, SI
#define IDD_SECTION_PLANE_ENGLISH 135
#define IDD_SECTION_PLANE_RATIO 139
#define IDD_POINT_REPORT_SI 124          // section display: point report, SI
#define IDD_POINT_REPORT_ENGLISH 141
#define IDD_POINT_REPORT_RATIO 140
#define IDD_COLOUR_MAP 125               // section display: colour map

// ---- "Output Units" bar 129: one radio group
#define IDC_UNITS_SI 1005                // "Metric  (SI)"
#define IDC_UNITS_ENGLISH 1006           // "Eng. (US)"
#define IDC_UNITS_RATIO 1023             // "Dimensionless"
#define IDC_UNITS_LABEL 1014

// ---- flowfield toolbars 112, 127, 134
#define IDC_FLOW_PROPERTY 1157           // property list
#define IDC_FLOW_AXIS_X 1005             // radio group of the plane's normal axis
#define IDC_FLOW_AXIS_Y 1006
#define IDC_FLOW_AXIS_Z 1023
#define IDC_FLOW_POSITION 1007           // plane position (output only)
#define IDC_FLOW_DIVISION 1015           // "Division" spin
#define IDC_FLOW_ELEMENT 1046            // "Element" spin
#define IDC_FLOW_RANGE_LOW 1001          // "Range" spins
#define IDC_FLOW_RANGE_HIGH 1002
#define IDC_FLOW_LOG_SCALE 1081          // "Log Scale"
#define IDC_FLOW_WHITE 1079              // "White B'grnd"
#define IDC_FLOW_PAUSE 1158              // "Pause Program for Detailed Plot"
#define IDC_FLOW_LABEL_TITLE 1014        // "Flowfield property in plane normal to"
#define IDC_FLOW_LABEL_AXIS_AT 1011      // "axis at" ("axis at ratio" in 134)
#define IDC_FLOW_LABEL_UNIT 1013         // "m" in 112, "ft" in 127; absent from 134
#define IDC_FLOW_LABEL_DIVISION 1012
#define IDC_FLOW_LABEL_ELEMENT 1022
#define IDC_FLOW_LABEL_RANGE 1016

// ---- surface toolbar 119
#define IDC_SURF_PROPERTY 1157           // property list
#define IDC_SURF_SHIFT_H 1046            // "Horizont." under "Translate"
#define IDC_SURF_SHIFT_V 1002            // "Vertically" under "Translate"
#define IDC_SURF_AZIMUTH 1001            // "Azimuth" under "Rotate in"
#define IDC_SURF_ELEVATION 1062          // "Elevation" under "Rotate in"
#define IDC_SURF_ZOOM 1015               // "Zoom"
#define IDC_SURF_RANGE_LOW 1063          // "Range" spins
#define IDC_SURF_RANGE_HIGH 1064
#define IDC_SURF_LOG_SCALE 1081          // "Log Scale"
#define IDC_SURF_WHITE 1158              // "White B'gnd"
#define IDC_SURF_PAUSE 1079              // "Pause Program for Detailed Plot"
#define IDC_SURF_LABEL_TITLE 1014        // "Distribution over Surfaces of"
#define IDC_SURF_LABEL_TRANSLATE 1011
#define IDC_SURF_LABEL_HORIZONTAL 1022
#define IDC_SURF_LABEL_VERTICAL 1026
#define IDC_SURF_LABEL_ROTATE 1018
#define IDC_SURF_LABEL_AZIMUTH 1019
#define IDC_SURF_LABEL_ELEVATION 1025
#define IDC_SURF_LABEL_ZOOM 1093
#define IDC_SURF_LABEL_RANGE 1056

// ---- forces dialogs 126, 121, 122
#define IDC_FORCE_SURFACE 1015           // surface number spin
#define IDC_FORCE_SURFACE_LABEL 1017     // "Overall Forces and Moments on Surface Number" (121, 122)
#define IDC_FORCE_X 1007
#define IDC_FORCE_Y 1010
#define IDC_FORCE_Z 1009
#define IDC_POINT_X 1008                 // the moment point (editable)
#define IDC_POINT_Y 1077
#define IDC_POINT_Z 1078
#define IDC_MOMENT_X 1082                // moments about lines parallel to x, y, z
#define IDC_MOMENT_Y 1083
#define IDC_MOMENT_Z 1084
#define IDC_REFERENCE_AREA 1085          // 122 only
#define IDC_REFERENCE_LENGTH 1003        // 122 only
#define IDC_FORCE_LABEL 1022

// ---- progress log 120
#define IDC_LOG_REACTION_COUNT 1053
#define IDC_LOG_REACTION 1054            // reaction type spin
#define IDC_LOG_REACTION_TYPE_LABEL 1056 // "type"
#define IDC_LOG_REACTION_LABEL 1065      // "chemical reactions"
#define IDC_LOG_MESSAGE 1020             // "displays commence" text, reaction text

#endif
