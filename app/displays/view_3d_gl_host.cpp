// The host build's stand-in of the 3-D views' OpenGL calls: each call is recorded by name, nothing is
// drawn (the win build has the OpenGL replay in view_3d_gl_win.cpp).
#ifndef _WIN32

#include "app/displays/view_3d_gl.h"

std::vector<std::string> GL_VIEW_RECORD;

void gl_view_projection(double far_plane, bool window)
{
    GL_VIEW_RECORD.push_back(std::string("projection ") + std::to_string(static_cast<int>(far_plane)) +
                             (window ? " window" : " picture"));
}

void gl_view_compile(const ViewList& list)
{
    GL_VIEW_RECORD.push_back("compile " + std::to_string(list.primitives.size()));
}

void gl_view_enable_culling()
{
    GL_VIEW_RECORD.push_back("culling");
}

void gl_view_model_view(const View3DState&)
{
    GL_VIEW_RECORD.push_back("model view");
}

void gl_view_draw(bool call_list)
{
    GL_VIEW_RECORD.push_back(call_list ? "draw list" : "draw");
}

void gl_view_clear_colour(float red, float green, float blue, float alpha)
{
    GL_VIEW_RECORD.push_back("clear colour " + std::to_string(static_cast<int>(red + green + blue)) + " " +
                             std::to_string(static_cast<int>(alpha)));
}

void gl_view_resize(int width, int height, bool)
{
    GL_VIEW_RECORD.push_back("resize " + std::to_string(width) + " " + std::to_string(height));
}

#endif
