// The result displays as the run control calls them. Until the displays themselves are built, these
// do what the run needs of them: the progress log dialog is loaded and shown, the display settings get
// their run-start values, and the 3-D view of the surfaces sets its mode.
#ifndef QR4T_APP_DISPLAYS_DISPLAYS_H
#define QR4T_APP_DISPLAYS_DISPLAYS_H

// Shows the surfaces until the user closes the view; sets VIEW_MODE_3D := 1.
void VIEW_SURFACES_3D();
// Loads and shows the progress log dialog 120 (with the reaction fields disabled when there are no gas
// reactions); with an empty sample sets the display settings to their run-start values.
void LOAD_DISPLAY_DIALOGS();
// Reads the display control dialogs after a poll and redraws what changed.
void HANDLE_DISPLAY_CONTROLS();
void DRAW_FLOWFIELD_PROPERTIES();
void PLOT_MOLECULE_HISTORY();
void SHOW_FORCES_AND_MOMENTS();
void DRAW_SURFACE_PROPERTIES();

#endif
