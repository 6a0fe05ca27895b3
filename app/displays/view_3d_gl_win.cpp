// The OpenGL and GLU calls of the 3-D views: the list content replayed into display list 1 of the
// current rendering context, the projection, the model-view matrix and the redraw.
#include "app/displays/view_3d_gl.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

std::vector<std::string> GL_VIEW_RECORD;

namespace {

constexpr GLuint LIST = 1;

GLenum primitive(ViewPrimitiveKind kind)
{
    return kind == ViewPrimitiveKind::LINES        ? GL_LINES
           : kind == ViewPrimitiveKind::LINE_STRIP ? GL_LINE_STRIP
                                                   : GL_TRIANGLES;
}

}  // namespace

void gl_view_projection(double far_plane, bool window)
{
    if (window) {
        glReadBuffer(GL_BACK);
        glDrawBuffer(GL_BACK);
    }
    glMatrixMode(GL_PROJECTION);
    gluPerspective(10.0, 1.0, 1.0, far_plane);
    if (window)
        glPushMatrix();
}

void gl_view_compile(const ViewList& list)
{
    static const GLfloat no_emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const GLfloat grey_emission[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    glNewList(LIST, GL_COMPILE);
    glClear(GL_COLOR_BUFFER_BIT);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, no_emission);
    glRotated(110.0, 1.0, 0.0, 0.0);
    glRotated(15.0, 0.0, 0.0, 1.0);
    for (const ViewPrimitive& p : list.primitives) {
        glBegin(primitive(p.kind));
        bool first = true;
        std::array<std::uint8_t, 3> colour{};
        for (const ViewVertex& v : p.vertices) {
            if (first || v.rgb != colour) {
                colour = v.rgb;
                glColor3ubv(colour.data());
                if (p.grey_back_emission) {
                    glMaterialfv(GL_FRONT, GL_EMISSION, no_emission);
                    glMaterialfv(GL_BACK, GL_EMISSION, grey_emission);
                }
                first = false;
            }
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    glEndList();
}

void gl_view_enable_culling()
{
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
}

void gl_view_model_view(const View3DState& v)
{
    constexpr double RADIANS = 3.14159265358979323846 / 180.0;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(v.VIEW_SHIFT_X, v.VIEW_SHIFT_Y, v.VIEW_SHIFT_Z);
    glRotated(v.VIEW_ROT_Z, 0.0, 0.0, 1.0);
    const double theta = v.VIEW_ROT_Z * RADIANS;
    glRotated(v.VIEW_ROT_X, std::cos(theta), -std::sin(theta), 0.0);
    glScaled(v.VIEW_SCALE_X, v.VIEW_SCALE_Y, v.VIEW_SCALE_Z);
}

void gl_view_draw(bool call_list)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (call_list)
        glCallList(LIST);
    glFlush();
}

void gl_view_clear_colour(float red, float green, float blue, float alpha)
{
    glClearColor(red, green, blue, alpha);
}

void gl_view_resize(int width, int height, bool back_buffer_after)
{
    glDrawBuffer(GL_FRONT_AND_BACK);
    glViewport(0, 0, width, height);
    if (back_buffer_after)
        glDrawBuffer(GL_BACK);
}
