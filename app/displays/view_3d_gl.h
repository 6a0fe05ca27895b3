// The OpenGL calls of the 3-D views, in one place: the win build replays them with OpenGL and GLU into the
// current rendering context (view_3d_gl_win.cpp); the host build records them by name in GL_VIEW_RECORD.
#ifndef QR4T_APP_DISPLAYS_VIEW_3D_GL_H
#define QR4T_APP_DISPLAYS_VIEW_3D_GL_H

#include "app/displays/view_3d.h"

#include <string>
#include <vector>

// The projection of a view: perspective of 10 degrees, aspect 1, near plane 1, the far plane given.
// A window view first draws into and reads from the back buffer and pushes the projection afterwards.
void gl_view_projection(double far_plane, bool window);
// Display list 1 from the list content: clear, black emission, the fixed turns, the primitives.
void gl_view_compile(const ViewList& list);
// Counter-clockwise front faces, back faces culled, depth test.
void gl_view_enable_culling();
// The model-view matrix: identity, shift, turn about z, tilt about the screen's horizontal axis, scales.
void gl_view_model_view(const View3DState& view);
// Clears colour and depth and replays list 1 when asked.
void gl_view_draw(bool call_list);
void gl_view_clear_colour(float red, float green, float blue, float alpha);
// A resized window: both buffers, the new viewport; back to the back buffer when asked.
void gl_view_resize(int width, int height, bool back_buffer_after);

// Host build: every call above by name, in order (test equipment; empty in the win build).
extern std::vector<std::string> GL_VIEW_RECORD;

#endif
