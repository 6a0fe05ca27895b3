// The flow-direction lines of the flowfield section display: through a start point of the plane, a
// polyline that follows the in-plane mean velocity of the cells downstream and then upstream.
//
// One routine per orientation of the plane; each draws with the current colour in the user units of the
// plane frame (box coordinates), which the caller has set. The plane's coordinate along its normal is
// SECTION_PLANE_POSITION.
#ifndef QR4T_APP_DISPLAYS_FLOW_LINES_H
#define QR4T_APP_DISPLAYS_FLOW_LINES_H

// Plane normal to z: x across, y up.
void TRACE_FLOW_LINE_Z(float across, float up);
// Plane normal to y: x across, z up.
void TRACE_FLOW_LINE_Y(float across, float up);
// Plane normal to x: z across, y up.
void TRACE_FLOW_LINE_X(float across, float up);

// At most this many segments are drawn each way.
constexpr int FLOW_LINE_SEGMENTS = 1000;

#endif
