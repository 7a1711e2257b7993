#include "player/MyFire4Smoke.h"

#include "core/Engine.h"
#include "core/Random.h"
#include "core/List.h"
#include "core/SpriteKind.h"
#include "player/MyFire4.h"
#include "render/GlState.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

float jitter() {
    return (gameRand() % 100) / 1000.0f;
}

} // namespace

MyFire4Smoke::MyFire4Smoke(MyFire4* missile)
    : Sprite(missile->owner, KindMyFire4Smoke, 0, 0, 0), trailX{}, trailZ{}, fade(0), trailCount(0),
      parent(nullptr) {
    trailX[0] = missile->getX();
    trailZ[0] = missile->getZ();
    // A missile with five followers already cannot be followed: the trail then stays where it began.
    if (missile->addWatcher(this))
        parent = missile;
}

void MyFire4Smoke::move() {
    const float t = Engine::instance()->frameStep;
    if (!(trailCount < 3 && parent))
        fade += 0.1f * t;
    if (fade > trailCount + 1) {
        dead = 1;
        return;
    }
    // One point per 2 units of travel; the last slot is never passed.
    if (parent && trailCount + 1 < MaxPoints && trailCount + 1 < (parent->getZ() - trailZ[0]) * 0.5f) {
        trailCount += 1;
        trailX[trailCount] = parent->getX();
        trailZ[trailCount] = parent->getZ();
    }
    if (Engine::instance()->chance(4)) {
        const int from = std::max(1, static_cast<int>(std::lround(fade)));
        for (int i = from; i <= trailCount - 1; ++i) {
            trailX[i] += ((gameRand() % 100) - 50) / 800.0f;
            trailX[i] = std::clamp(trailX[i], trailX[i - 1] - 0.4f, trailX[i - 1] + 0.4f);
            trailX[i] = std::clamp(trailX[i], trailX[i + 1] - 0.4f, trailX[i + 1] + 0.4f);
        }
    }
}

void MyFire4Smoke::collide(Sprite*) {}

// The fade has reached (or passed) the newest point: everything has faded.
float MyFire4Smoke::pointAlpha(int i) const {
    const float span = static_cast<float>(trailCount) - fade;
    if (span <= 0)
        return 0;
    return 1 - static_cast<float>(trailCount - i) / span;
}

// One ribbon along the trail, its two edges `halfX`, `halfY` either side of each point (which wavers
// but for the second and the newest), ending at the missile when it still flies.
void MyFire4Smoke::drawStrip(int from, float halfX, float halfY) {
    glBegin(GL_QUAD_STRIP);
    for (int i = from; i <= trailCount; ++i) {
        const bool still = i == 1 || i == trailCount;
        const float jx = still ? 0 : jitter();
        const float jy = still ? 0 : jitter();
        const float v = (i % 2) ? 1.0f : 0.0f;
        glColor4f(1, 1, 0.5f, pointAlpha(i));
        glTexCoord2f(1, v);
        glVertex3f(trailX[i] + jx + halfX, 0.15f + jy + halfY, trailZ[i]);
        glTexCoord2f(0, v);
        glVertex3f(trailX[i] + jx - halfX, 0.15f + jy - halfY, trailZ[i]);
    }
    if (parent) {
        const float v = (trailCount % 2 == 0) ? 1.0f : 0.0f;
        glTexCoord2f(1, v);
        glVertex3f(parent->getX() + halfX, 0.15f + halfY, parent->getZ());
        glColor4f(1, 1, 0.5f, 1);
        glTexCoord2f(0, v);
        glVertex3f(parent->getX() - halfX, 0.15f - halfY, parent->getZ());
    }
    glEnd();
}

// A flat ribbon under the pass's face culling, and on high details a standing one seen from both sides.
void MyFire4Smoke::draw() {
    Engine* engine = Engine::instance();
    const int from = std::max(0, static_cast<int>(std::lround(fade)));
    glPushMatrix();
    GlState smoke(GlState::Blend | GlState::Texture2D | GlState::AlphaTest, GlState::Lighting);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, engine->texThunder);
    glAlphaFunc(GL_GREATER, 0.25f);
    drawStrip(from, 0.06f, 0);
    smoke.set(0, GlState::CullFace);
    if (engine->details > 1)
        drawStrip(from, 0, 0.06f);
    glPopMatrix();
}

void MyFire4Smoke::drawShadow() {
    if (Engine::instance()->details == 0)
        return;
    const int from = std::max(0, static_cast<int>(std::lround(fade)));
    glPushMatrix();
    glBegin(GL_QUAD_STRIP);
    for (int i = from; i <= trailCount; ++i) {
        glColor4f(0, 0, 0, 0.35f * pointAlpha(i));
        glVertex3f(trailX[i] + 0.06f, 0.15f, trailZ[i]);
        glVertex3f(trailX[i] - 0.06f, 0.15f, trailZ[i]);
    }
    if (parent) {
        glColor4f(0, 0, 0, 0.35f);
        glVertex3f(parent->getX() + 0.06f, 0.15f, parent->getZ());
        glVertex3f(parent->getX() - 0.06f, 0.15f, parent->getZ());
    }
    glEnd();
    glColor4f(0, 0, 0, 0.35f);
    glPopMatrix();
}

void MyFire4Smoke::prepareRemoval() {
    Sprite::prepareRemoval();
    if (parent)
        parent->removeWatcher(this);
    parent = nullptr;
}

void MyFire4Smoke::watchedRemoved(Sprite* removed) {
    if (removed == parent)
        parent = nullptr;
}
