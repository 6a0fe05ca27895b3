// Ids of the program's dialogs and of their controls: one list, included by the dialog scripts
// (resources/*.rc) and by the code that loads the dialogs and reads or writes their fields.
//
// These are #define lines, not constexpr, because the resource compiler understands only the
// preprocessor: it would read a constexpr name as a text resource name instead of a number. Ids of
// the companion texts (the RCDATA blocks) are written as digits inside their strings, where no name
// can stand; they are the numbers below.
//
// IDD_ names a dialog, IDC_ a control. Controls that several dialogs place at the same id carry one
// name for each dialog.
#ifndef QR4T_RESOURCES_DIALOG_IDS_H
#define QR4T_RESOURCES_DIALOG_IDS_H

// ---- run control (run_dialogs.rc)

// The three choice dialogs share their radio buttons' ids: one group, first button 1005.
#define IDD_RUN_TYPE 116     // "Run Type"
#define IDD_OPTIONS 162      // "Non-standard Program Options"
#define IDD_INFORMATION 151  // "Type of Information"
#define IDC_CHOICE_1 1005    // first radio button of the group; the dialog's focus
#define IDC_CHOICE_2 1006
#define IDC_CHOICE_3 1023
#define IDC_CHOICE_4 1069
#define IDC_CHOICE_5 1090
#define IDC_CHOICE_6 1091
#define IDC_CHOICE_MARKER_1 1100  // coloured markers beside the run type's six choices, 1100..1105
#define IDC_CHOICE_MARKER_2 1101
#define IDC_CHOICE_MARKER_3 1102
#define IDC_CHOICE_MARKER_4 1103
#define IDC_CHOICE_MARKER_5 1104
#define IDC_CHOICE_MARKER_6 1105

// The four information pages, in the order of the information dialog's choices.
#define IDD_INFO_METHOD 152       // "The DSMC Method"
#define IDD_INFO_METHOD_FAQ 153   // "Frequently Asked Questions about the DSMC Method"
#define IDD_INFO_PROGRAM 154      // "The QR4T Program"
#define IDD_INFO_PROGRAM_FAQ 155  // "Frequently Asked Questions about the QR4T Program"

// "Progressive Log of the Current DSMC Computation"
#define IDD_LOG 120
#define IDC_LOG_TIME 1007                 // flow time in seconds
#define IDC_LOG_MOLECULES 1015            // simulated molecules
#define IDC_LOG_MOVES 1059                // molecular moves
#define IDC_LOG_COLLISIONS 1060           // binary collisions
#define IDC_LOG_REFLECTIONS 1061          // surface reflections
#define IDC_LOG_REACTIONS 1053            // chemical reactions of the chosen type
#define IDC_LOG_REACTION_TYPE_LABEL 1056  // "type"
#define IDC_LOG_REACTION_TYPE 1054        // the reaction type shown (spin 1..100)
#define IDC_LOG_REACTIONS_LABEL 1065      // "chemical reactions"
#define IDC_LOG_ROUNDOFF 1062             // molecule round-off substitutions
#define IDC_LOG_ENTRIES 1055              // from entering molecules
#define IDC_LOG_SEP_MFP 1008              // average (mean collision separation) / (mean free path)
#define IDC_LOG_SAMPLES 1063              // flowfield samples
#define IDC_LOG_SAMPLE_TIME 1009          // time of the sample's start
#define IDC_LOG_SAMPLE_MOLECULES 1064     // molecules at the sample's start
#define IDC_LOG_NOTE 1020                 // when the displays commence; the sample reset
#define IDC_LOG_PHASE 1021                // the phase of the step

// "Reading the Restart Files - Please Wait"
#define IDD_RESTART_PROGRESS 123

// ---- flowfield geometry (geometry_dialogs.rc)

#define IDD_DIVISIONS_PROGRESS 107  // "Setting Divisions and Elements - Please Wait"
#define IDD_CELLS_PROGRESS 111      // "Setting the Flowfield Cells - Please Wait"

// Fields of the three progress dialogs (107, 111, 123).
#define IDC_PROGRESS_BAR 1024   // range 0..100 in the script, set by the code
#define IDC_PROGRESS_TEXT 1020  // the stage

// "Set the Cell Size"
#define IDD_CELL_SIZE 144
#define IDC_CELL_SIZE_MPC 1015  // desired average number of molecules per cell

// "SELECT THE 2-D DISPLAY  PLANE IN THE 3-D FLOWFIELD"
#define IDD_PLANE 138
#define IDC_PLANE_X 1005  // radio group x, y, z: the axis normal to the plane
#define IDC_PLANE_Y 1006
#define IDC_PLANE_Z 1023
#define IDC_PLANE_DIVISION 1015  // division along that axis
#define IDC_PLANE_ELEMENT 1046   // element within it
#define IDC_PLANE_POSITION 1007  // plane position in metres

// The legend beside the pictures of divisions and elements.
#define IDD_GRID_LEGEND 104
#define IDC_LEGEND_STOP 1081      // "Stop Program"
#define IDC_LEGEND_ROUNDOFF 1011  // the four notes, in their order from the top: 1012, 1013, 1011, 1014
#define IDC_LEGEND_CUT 1012
#define IDC_LEGEND_LAYERS 1013
#define IDC_LEGEND_REPORT 1014

// ---- result displays (display_dialogs.rc): the control dialogs beside the progress log
#define IDD_OUTPUT_UNITS 129          // "Output Units" bar
#define IDD_FLOW_TOOLBAR_SI 112       // flowfield toolbar, SI
#define IDD_FLOW_TOOLBAR_ENGLISH 127  // flowfield toolbar, English
#define IDD_FLOW_TOOLBAR_RATIO 134    // flowfield toolbar, dimensionless
#define IDD_SURFACE_TOOLBAR 119       // surface toolbar
#define IDD_FORCES_SI 126             // forces and moments, SI
#define IDD_FORCES_ENGLISH 121        // forces and moments, English
#define IDD_FORCES_COEFFICIENTS 122   // force and moment coefficients

// ---- dialogs of the paused displays, loaded with the others and shown by those displays
#define IDD_STREAMLINE_START 130         // surface display window: streamline start
#define IDD_SURFACE_WINDOW_OPTIONS 131   // surface display window: scale and view options
#define IDD_SURFACE_WINDOW_PROPERTY 132  // surface display window: property choice
#define IDD_TRIANGLE_VALUES_SI 133       // surface display window: values of one triangle, SI
#define IDD_TRIANGLE_VALUES_ENGLISH 117
#define IDD_TRIANGLE_VALUES_RATIO 128
#define IDD_SECTION_PLANE_SI 118  // section display: property and plane, SI
#define IDD_SECTION_PLANE_ENGLISH 135
#define IDD_SECTION_PLANE_RATIO 139
#define IDD_POINT_REPORT_SI 124  // section display: point report, SI
#define IDD_POINT_REPORT_ENGLISH 141
#define IDD_POINT_REPORT_RATIO 140
#define IDD_COLOUR_MAP 125  // section display: colour map

// ---- "Output Units" bar 129: one radio group
#define IDC_UNITS_SI 1005       // "Metric  (SI)"
#define IDC_UNITS_ENGLISH 1006  // "Eng. (US)"
#define IDC_UNITS_RATIO 1023    // "Dimensionless"
#define IDC_UNITS_LABEL 1014

// ---- flowfield toolbars 112, 127, 134
#define IDC_FLOW_PROPERTY 1157  // property list
#define IDC_FLOW_AXIS_X 1005    // radio group of the plane's normal axis
#define IDC_FLOW_AXIS_Y 1006
#define IDC_FLOW_AXIS_Z 1023
#define IDC_FLOW_POSITION 1007   // plane position (output only)
#define IDC_FLOW_DIVISION 1015   // "Division" spin
#define IDC_FLOW_ELEMENT 1046    // "Element" spin
#define IDC_FLOW_RANGE_LOW 1001  // "Range" spins
#define IDC_FLOW_RANGE_HIGH 1002
#define IDC_FLOW_LOG_SCALE 1081      // "Log Scale"
#define IDC_FLOW_WHITE 1079          // "White B'grnd"
#define IDC_FLOW_PAUSE 1158          // "Pause Program for Detailed Plot"
#define IDC_FLOW_LABEL_TITLE 1014    // "Flowfield property in plane normal to"
#define IDC_FLOW_LABEL_AXIS_AT 1011  // "axis at" ("axis at ratio" in 134)
#define IDC_FLOW_LABEL_UNIT 1013     // "m" in 112, "ft" in 127; absent from 134
#define IDC_FLOW_LABEL_DIVISION 1012
#define IDC_FLOW_LABEL_ELEMENT 1022
#define IDC_FLOW_LABEL_RANGE 1016

// ---- surface toolbar 119
#define IDC_SURF_PROPERTY 1157   // property list
#define IDC_SURF_SHIFT_H 1046    // "Horizont." under "Translate"
#define IDC_SURF_SHIFT_V 1002    // "Vertically" under "Translate"
#define IDC_SURF_AZIMUTH 1001    // "Azimuth" under "Rotate in"
#define IDC_SURF_ELEVATION 1062  // "Elevation" under "Rotate in"
#define IDC_SURF_ZOOM 1015       // "Zoom"
#define IDC_SURF_RANGE_LOW 1063  // "Range" spins
#define IDC_SURF_RANGE_HIGH 1064
#define IDC_SURF_LOG_SCALE 1081    // "Log Scale"
#define IDC_SURF_WHITE 1158        // "White B'gnd"
#define IDC_SURF_PAUSE 1079        // "Pause Program for Detailed Plot"
#define IDC_SURF_LABEL_TITLE 1014  // "Distribution over Surfaces of"
#define IDC_SURF_LABEL_TRANSLATE 1011
#define IDC_SURF_LABEL_HORIZONTAL 1022
#define IDC_SURF_LABEL_VERTICAL 1026
#define IDC_SURF_LABEL_ROTATE 1018
#define IDC_SURF_LABEL_AZIMUTH 1019
#define IDC_SURF_LABEL_ELEVATION 1025
#define IDC_SURF_LABEL_ZOOM 1093
#define IDC_SURF_LABEL_RANGE 1056

// ---- forces dialogs 126, 121, 122
#define IDC_FORCE_SURFACE 1015        // surface number spin
#define IDC_FORCE_SURFACE_LABEL 1017  // "Overall Forces and Moments on Surface Number" (121, 122)
#define IDC_FORCE_X 1007
#define IDC_FORCE_Y 1010
#define IDC_FORCE_Z 1009
#define IDC_POINT_X 1008  // the moment point (editable)
#define IDC_POINT_Y 1077
#define IDC_POINT_Z 1078
#define IDC_MOMENT_X 1082  // moments about lines parallel to x, y, z
#define IDC_MOMENT_Y 1083
#define IDC_MOMENT_Z 1084
#define IDC_REFERENCE_AREA 1085    // 122 only
#define IDC_REFERENCE_LENGTH 1003  // 122 only
#define IDC_FORCE_LABEL 1022

// "Characteristic Area": the reference area and length of the coefficients
#define IDD_REFERENCE_AREA 136
#define IDC_AREA 1007          // the area
#define IDC_LENGTH 1008        // the length
#define IDC_AREA_SI 1005       // "SI Units"; the group's first button
#define IDC_AREA_ENGLISH 1006  // "Eng. Units (US)"

// ---- surface display window, streamline start 130
#define IDC_STREAM_COUNTER 1046     // the streamline counter
#define IDC_STREAM_DIVISION_X 1001  // division of the start along x, y, z
#define IDC_STREAM_DIVISION_Y 1002
#define IDC_STREAM_DIVISION_Z 1062
#define IDC_STREAM_ELEMENT_X 1063  // element of the start within the division along x, y, z
#define IDC_STREAM_ELEMENT_Y 1064
#define IDC_STREAM_ELEMENT_Z 1065
#define IDC_STREAM_X 1007  // the start point (output only)
#define IDC_STREAM_Y 1008
#define IDC_STREAM_Z 1009
#define IDC_STREAM_MESSAGE 1020

// ---- surface display window, options 131
#define IDC_S3D_RANGE_HIGH 1015  // "Upper Limit" spin
#define IDC_S3D_RANGE_LOW 1046   // "Lower Limit" spin
#define IDC_S3D_LOG_SPIN 1063    // 0..1 spins of the switches, mirrored into their check boxes
#define IDC_S3D_AXES_SPIN 1064
#define IDC_S3D_BOX_SPIN 1065
#define IDC_S3D_ENTRY_SPIN 1066
#define IDC_S3D_REFLECTION_SPIN 1002
#define IDC_S3D_LOG_CHECK 1158         // "Log. Scale"
#define IDC_S3D_AXES_CHECK 1079        // "Show Axes"
#define IDC_S3D_BOX_CHECK 1080         // "Show Boundaries"
#define IDC_S3D_ENTRY_CHECK 1089       // "Show Entry Planes"
#define IDC_S3D_REFLECTION_CHECK 1081  // "Reflections Not Shown"

// ---- surface display window, property 132: the radio group in the order of its positions 1..13
#define IDC_S3D_SAMPLE_SIZE 1069
#define IDC_S3D_NUMBER_FLUX 1090
#define IDC_S3D_PRESSURE 1091
#define IDC_S3D_SHEAR_1 1073
#define IDC_S3D_SHEAR_2 1074
#define IDC_S3D_INCIDENT_HEAT 1075
#define IDC_S3D_REFLECTED_HEAT 1072
#define IDC_S3D_NET_HEAT 1076
#define IDC_S3D_TEMPERATURE 1102
#define IDC_S3D_SPECIES_FRACTION 1027
#define IDC_S3D_TRIANGLE_NUMBER 1028
#define IDC_S3D_SHEAR_MAGNITUDE 1029
#define IDC_S3D_SHEAR_VECTORS 1030
#define IDC_S3D_SPECIES 1015        // species of "Number Fraction of Species"
#define IDC_S3D_PROPERTY_SPIN 1046  // -13..-1: picks the property
#define IDC_S3D_HELP 1020           // help line of the property

// ---- surface display window, values of one triangle 133, 117, 128
#define IDC_TRI_SURFACE 1015  // surface number
#define IDC_TRI_UNITS 1046    // digits of the triangle's index within the surface, units to ten-thousands
#define IDC_TRI_TENS 1001
#define IDC_TRI_HUNDREDS 1002
#define IDC_TRI_THOUSANDS 1062
#define IDC_TRI_TEN_THOUSANDS 1063
#define IDC_TRI_SPECIES 1064  // species of the fraction field
#define IDC_TRI_X 1007        // centroid
#define IDC_TRI_Y 1008
#define IDC_TRI_Z 1009
#define IDC_TRI_SAMPLE_SIZE 1010
#define IDC_TRI_NUMBER_FLUX 1077
#define IDC_TRI_PRESSURE 1078
#define IDC_TRI_SHEAR_1 1082
#define IDC_TRI_SHEAR_2 1083
#define IDC_TRI_INCIDENT_HEAT 1084
#define IDC_TRI_REFLECTED_HEAT 1085
#define IDC_TRI_NET_HEAT 1003
#define IDC_TRI_TEMPERATURE 1004
#define IDC_TRI_SHEAR_MAGNITUDE 1088
#define IDC_TRI_FRACTION 1087

// ---- section display, property and plane 118, 135, 139 (section_dialogs.rc)
#define IDC_SECTION_TITLE 1011   // "Show Flowfield in Plane Normal to"
#define IDC_SECTION_AXIS_X 1005  // radio group of the plane's normal axis
#define IDC_SECTION_AXIS_Y 1006
#define IDC_SECTION_AXIS_Z 1023
#define IDC_SECTION_AXIS_AT 1012   // "Axis at" (" Axis at ratio" in 139)
#define IDC_SECTION_POSITION 1007  // the plane's coordinate (output only)
#define IDC_SECTION_UNIT 1013      // "m" in 118, "ft" in 135; absent from 139
#define IDC_SECTION_DIVISION_LABEL 1022
#define IDC_SECTION_DIVISION 1015  // division spin
#define IDC_SECTION_ELEMENT_LABEL 1016
#define IDC_SECTION_ELEMENT 1046  // element spin
#define IDC_SECTION_GAS_LABEL 1017
// The property radio group: positions 1..17 the gas, 18..28 the species of IDC_SECTION_SPECIES.
#define IDC_SECTION_SAMPLE_SIZE 1069
#define IDC_SECTION_NUMBER_DENSITY 1090
#define IDC_SECTION_DENSITY 1091
#define IDC_SECTION_U 1073
#define IDC_SECTION_V 1074
#define IDC_SECTION_W 1075
#define IDC_SECTION_TRANS_TEMP 1072
#define IDC_SECTION_ROT_TEMP 1076
#define IDC_SECTION_VIB_TEMP 1102
#define IDC_SECTION_TEMPERATURE 1027
#define IDC_SECTION_MACH 1028
#define IDC_SECTION_MOLS_PER_CELL 1029
#define IDC_SECTION_COLL_TIME 1030
#define IDC_SECTION_MFP 1031
#define IDC_SECTION_SEP_MFP 1032
#define IDC_SECTION_SPEED 1033
#define IDC_SECTION_PRESSURE 1034
#define IDC_SECTION_SP_SAMPLE_SIZE 1035
#define IDC_SECTION_SP_FRACTION 1036
#define IDC_SECTION_SP_TEMP_X 1037
#define IDC_SECTION_SP_TEMP_Y 1038
#define IDC_SECTION_SP_TEMP_Z 1039
#define IDC_SECTION_SP_TRANS_TEMP 1045
#define IDC_SECTION_SP_ROT_TEMP 1040
#define IDC_SECTION_SP_VIB_TEMP 1041
#define IDC_SECTION_SP_DIFF_U 1042
#define IDC_SECTION_SP_DIFF_V 1043
#define IDC_SECTION_SP_DIFF_W 1044
#define IDC_SECTION_SPECIES_LABEL 1018
#define IDC_SECTION_SPECIES 1001  // species of the properties 18..28
#define IDC_SECTION_MESSAGE 1020  // message line of the point report

// ---- section display, point report 124, 141, 140
#define IDC_REPORT_LABEL_X 1011  // "Flow Properties at x=" ...
#define IDC_REPORT_LABEL_Y 1012
#define IDC_REPORT_LABEL_Z 1013
#define IDC_REPORT_LABEL_UNIT 1014
#define IDC_REPORT_X 1007  // the point
#define IDC_REPORT_Y 1008
#define IDC_REPORT_Z 1009
#define IDC_REPORT_SAMPLE_SIZE 1015  // integer field
#define IDC_REPORT_NUMBER_DENSITY 1010
#define IDC_REPORT_U 1077
#define IDC_REPORT_V 1078
#define IDC_REPORT_W 1082
#define IDC_REPORT_SPEED 1083
#define IDC_REPORT_TRANS_TEMP 1084
#define IDC_REPORT_ROT_TEMP 1085
#define IDC_REPORT_VIB_TEMP 1003
#define IDC_REPORT_TEMPERATURE 1004
#define IDC_REPORT_DENSITY 1087
#define IDC_REPORT_MACH 1088
#define IDC_REPORT_MFP 1086
#define IDC_REPORT_COLL_TIME 1095
#define IDC_REPORT_MOLS_PER_CELL 1104
#define IDC_REPORT_SEP_MFP 1105
#define IDC_REPORT_PRESSURE 1106
#define IDC_REPORT_SPECIES_LABEL 1117   // "Properties for mols. of species"
#define IDC_REPORT_SPECIES 1002         // REPORT_SPECIES spin
#define IDC_REPORT_SP_SAMPLE_SIZE 1046  // integer field
#define IDC_REPORT_SP_FRACTION 1107
#define IDC_REPORT_SP_DIFF_U 1108
#define IDC_REPORT_SP_DIFF_V 1109
#define IDC_REPORT_SP_DIFF_W 1110
#define IDC_REPORT_SP_DIFF_SPEED 1111
#define IDC_REPORT_SP_TEMP_X 1112
#define IDC_REPORT_SP_TEMP_Y 1113
#define IDC_REPORT_SP_TEMP_Z 1114
#define IDC_REPORT_SP_TRANS_TEMP 1115
#define IDC_REPORT_SP_ROT_TEMP 1116
#define IDC_REPORT_SP_VIB_TEMP 1121

// ---- section display, instructions and colour map 125
#define IDC_MAP_LEFT_TEXT 1011
#define IDC_MAP_RIGHT_TEXT 1012
#define IDC_MAP_DELETE_LINES 1081  // "Delete all the flow direction lines"
#define IDC_MAP_SCALE_LABEL 1016
#define IDC_MAP_LINEAR 1005  // "Linear", "Logarithmic"
#define IDC_MAP_LOG 1006
#define IDC_MAP_COLOUR_LABEL 1018
#define IDC_MAP_COLOUR_1 1069  // "1", "2", "3"
#define IDC_MAP_COLOUR_2 1090
#define IDC_MAP_COLOUR_3 1091
#define IDC_MAP_BACKGROUND_LABEL 1019
#define IDC_MAP_WHITE 1075  // "White", "Black"
#define IDC_MAP_BLACK 1072
#define IDC_MAP_RANGE_LOW 1015  // "Lower Limit" spin
#define IDC_MAP_LOW_LABEL 1014
#define IDC_MAP_RANGE_HIGH 1046  // "Upper Limit" spin
#define IDC_MAP_HIGH_LABEL 1022
#define IDC_MAP_RANGE_TEXT 1017
#define IDC_MAP_FILE_LABEL 1025  // "Generate file D3D"
#define IDC_MAP_PICTURE 1001     // picture number spin
#define IDC_MAP_FILE_EXTENSION 1026

// ---- the toolkit's own (toolkit_dialogs.rc)

// "Select Directory"
#define IDD_DIRECTORY_CHOOSER 32101
#define IDC_DIRECTORY_PATH 1001    // the path typed or chosen
#define IDC_DIRECTORY_LIST 1002    // the sub-directories, drawn by the toolkit
#define IDC_DIRECTORY_DRIVES 1003  // the drives

// The grid editor's dialogs: "Find", "Goto Cell", "Goto Row" / "Goto Column", "Sort"
#define IDD_GRID_FIND 32106
#define IDC_GRID_FIND_TEXT 1002  // the text searched for
#define IDC_GRID_FIND_CASE 1003  // match case
#define IDD_GRID_GOTO_CELL 32107
#define IDD_GRID_GOTO_LINE 32108
#define IDC_GRID_GOTO_LABEL 1001   // "&Row" or "&Column" (32108)
#define IDC_GRID_GOTO_NUMBER 1002  // the column (32107), the row or column (32108)
#define IDC_GRID_GOTO_ROW 1004     // the row (32107)
#define IDD_GRID_SORT 32109
#define IDC_GRID_SORT_COLUMN 1002  // one option per column
#define IDC_GRID_SORT_ASCENDING 1004
#define IDC_GRID_SORT_DESCENDING 1005
#define IDC_GRID_SORT_CASE 1006  // match case

#endif
