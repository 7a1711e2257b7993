#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"

#include <GL/gl.h>

namespace {

constexpr float ShadowAlpha = 0.35f;

} // namespace

// Flattens every sprite's shape onto the floor. The floor marked its pixels with stencil 1; a shadow
// fragment lands only there and clears the mark, so overlapping shadows darken a pixel once.
void World::drawShadowPass(bool ownBlending) {
    const Engine* e = Engine::instance();
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_ZERO, GL_ZERO, GL_ZERO);
    glMultMatrixf(e->shadowMatrix);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1.0f, -1.0f);
    if (ownBlending) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(0, 0, 0, ShadowAlpha);
    sprites->drawShadows();
    glDisable(GL_POLYGON_OFFSET_FILL);
    if (ownBlending)
        glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    if (ownBlending)
        glEnable(GL_LIGHTING);
}
