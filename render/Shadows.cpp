#include "core/Engine.h"
#include "core/ListSprite.h"
#include "core/World.h"
#include "render/GlState.h"

#include <GL/gl.h>

namespace {

constexpr float ShadowAlpha = 0.35f;

} // namespace

// Flattens every sprite's shape onto the floor. The floor marked its pixels with stencil 1; a shadow
// fragment lands only there and clears the mark, so overlapping shadows darken a pixel once.
void World::drawShadowPass(bool ownBlending) {
    const Engine* e = Engine::instance();
    GlState::apply(GlState::StencilTest | GlState::PolygonOffsetFill, GlState::Texture2D | GlState::Lighting);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_ZERO, GL_ZERO, GL_ZERO);
    glMultMatrixf(e->shadowMatrix);
    glPolygonOffset(-1.0f, -1.0f);
    if (ownBlending) {
        GlState::apply(GlState::Blend);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(0, 0, 0, ShadowAlpha);
    sprites->drawShadows();
    // A pass that brought its own blending gives the lighting back; the others leave it to the caller.
    if (ownBlending)
        GlState::apply(GlState::Lighting, GlState::Blend);
    GlState::apply(0, GlState::PolygonOffsetFill | GlState::StencilTest);
    GlState::checkErrors("shadow");
}
