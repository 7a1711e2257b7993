#include "enemies/BoxModel.h"

#include <GL/gl.h>

namespace {

// Per face: the normal, then the four corners as signs of the half edge, counter-clockwise from outside.
struct BoxFace {
    float normal[3];
    float corners[4][3];
};

constexpr BoxFace BoxFaces[6] = {
    {{0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
    {{0, 0, -1}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
    {{1, 0, 0}, {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}},
    {{-1, 0, 0}, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
    {{0, 1, 0}, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
    {{0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
};

constexpr float FaceTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

} // namespace

unsigned int buildBoxList(unsigned int oldList, float edge) {
    if (oldList != 0)
        glDeleteLists(oldList, 1);
    const unsigned int list = glGenLists(1);
    const float h = edge * 0.5f;
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    for (const BoxFace& face : BoxFaces) {
        glNormal3fv(face.normal);
        for (int i = 0; i < 4; ++i) {
            glTexCoord2fv(FaceTexCoords[i]);
            glVertex3f(face.corners[i][0] * h, face.corners[i][1] * h, face.corners[i][2] * h);
        }
    }
    glEnd();
    glEndList();
    return list;
}
