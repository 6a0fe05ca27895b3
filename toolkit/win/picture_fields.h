// Dialog picture fields: a field of the current dialog (or the dialog's own client area) made the
// drawing surface of the graphics core. Platform-neutral.
#ifndef QR4T_TOOLKIT_WIN_PICTURE_FIELDS_H
#define QR4T_TOOLKIT_WIN_PICTURE_FIELDS_H

// Makes the field `field` of the current dialog (0: the dialog itself) the drawing surface: takes its
// device context, binds it to the screen driver, returns its client size and marks it as a picture
// field (the dialog as a picture dialog). field becomes -1 when there is no current dialog or no such
// control. The caller sets up the surface (IGrSurfaceSetup with kind 3).
void WDialogFieldTarget(int& field, int& width, int& height);

// Releases the device context taken by WDialogFieldTarget, if any (before another surface is bound).
void picture_target_release();

#endif
