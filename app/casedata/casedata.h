// The readers of the case data: the flow-data file "QR4TD.DAT" and the surface-data file "QR4SD.DAT",
// each with its summary file. The main program calls them once for a new run, flow data first.
#ifndef QR4T_APP_CASEDATA_CASEDATA_H
#define QR4T_APP_CASEDATA_CASEDATA_H

// Reads "QR4TD.DAT" into BOX, GAS and RUN, writes the summary "QR4TD.TXT" and builds the reaction
// tables. Expects the diagnostic log (unit 9) open. Bad input stops the program through fatal_stop.
void READ_FLOW_DATA();

// Reads "QR4SD.DAT" into SURFACE and writes the summary "QR4SD.TXT". Needs the flow data read first
// (species count, scale factor, surface reactions, stream). Bad input stops the program.
void READ_SURFACE_DATA();

#endif
