#include "enemies/SpikeFan.h"

#include <GL/gl.h>

void drawSpikeFan(float halfWidth, float length, bool coloured) {
    const float rim[4][3] = {
        {halfWidth, 0, length}, {-halfWidth, 0, length}, {0, halfWidth, length}, {0, -halfWidth, length}};
    glBegin(GL_TRIANGLE_FAN);
    if (coloured)
        glColor4f(1, 1, 1, 1);
    glVertex3f(0, 0, 0);
    if (coloured)
        glColor4f(1, 1, 0, 0);
    for (const auto& v : rim)
        glVertex3fv(v);
    glEnd();
}
