#include "render/Hud.h"

#include "core/Engine.h"
#include "core/World.h"
#include "player/MyShip.h"
#include "platform/SdlCompat.h"
#include "render/GlState.h"
#include "render/Overlay.h"
#include "render/Text.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// What the head-up display last showed: kept from frame to frame and from game to game; cleared only
// by resetHudTexts().
struct HudCache {
    // Room for every int: scores beyond eight digits show all of theirs.
    char score[16] = "";
    char bombs[16] = "";
    int shownBombs = -1;
    int gaugeEnergy = -1;
    int gaugeMax = -1;

    void reset() { *this = HudCache(); }
};

HudCache hudCache;

// Everything the display's picture depends on: a frame that shows the same may keep the last one's.
struct HudLook {
    int width = 0;
    int height = 0;
    int energy = 0;
    int maxEnergy = 0;
    bool lost = false;
    bool paused = false;
    std::string score;
    std::string bombs;
    std::string rate; // empty while the frame rate is hidden

    bool operator==(const HudLook&) const = default;
};

HudLook shownLook;

void drawGauge(float w, float h) {
    float ratio = hudCache.gaugeMax > 0
                      ? static_cast<float>(hudCache.gaugeEnergy) / static_cast<float>(hudCache.gaugeMax)
                      : 0.0f;
    if (ratio < 0.0f)
        ratio = 0.0f;
    if (ratio > 1.0f)
        ratio = 1.0f;
    glBegin(GL_QUADS);
    glColor4f(0.7f, 0.3f, 0.3f, 0.8f);
    glVertex2f(0.822f * w, 0.845f * h);
    glVertex2f(0.822f * w, 0.815f * h);
    glColor4f(0.7f - 0.4f * ratio, 0.3f, 0.3f + 0.4f * ratio, 0.8f);
    glVertex2f(0.822f * w + 0.134f * w * ratio, 0.815f * h);
    glVertex2f(0.822f * w + 0.134f * w * ratio, 0.845f * h);
    glEnd();
}

void texturedQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glEnd();
}

void drawPanel(const Engine* e, float w, float h) {
    GlState::apply(GlState::Texture2D);
    glBindTexture(GL_TEXTURE_2D, e->texBoard);
    glColor4f(1, 1, 1, 1);
    texturedQuad(0.8f * w, 0.98f * h, 0.98f * w, 0.8f * h);
    GlState::apply(0, GlState::Lighting | GlState::Texture2D);
    glColor4f(1, 1, 0, 0.6f);
    glBegin(GL_TRIANGLES);
    glVertex2f(0.89f * w - 22, 0.9f * h);
    glVertex2f(0.89f * w - 26, 0.885f * h);
    glVertex2f(0.89f * w - 18, 0.885f * h);
    glEnd();
}

void drawGameOver(const Engine* e, int width, int height) {
    GlState::apply(GlState::Texture2D | GlState::AlphaTest);
    glBindTexture(GL_TEXTURE_2D, e->texGameOver);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, e->colorWhite);
    glAlphaFunc(GL_GEQUAL, 0.3f);
    glColor4f(1, 1, 2, 1);
    texturedQuad(static_cast<float>(width / 4), static_cast<float>(3 * height / 4),
                 static_cast<float>(3 * width / 4), static_cast<float>(height) / 1.7f);
    GlState::apply(0, GlState::AlphaTest | GlState::Texture2D);
}

// Centred over the frozen play view, in the font of the score, amber at the foot.
void drawPausedSign() {
    constexpr float size = 40;
    constexpr char sign[] = "PAUSED";
    const float width = (sizeof sign - 1) * size / 700;
    drawText(0.5f - width / 2, 0.5f - size / 600, 0, sign, size, 1, 0.75f, 0.1f);
}

// The panel with its gauge and texts, the frame rate, the game-over picture and the pause sign, each in
// its own frame over the play view.
void drawDisplay(const Engine* e, const OverlayFrame& panel, const OverlayFrame& centre, int width,
                 int height, bool showFps) {
    GlState::apply(GlState::Blend, GlState::DepthWrite | GlState::Lighting | GlState::Texture2D);
    projectOverlayPixels(panel, width, height);
    // Alpha adds up as premultiplied colour does: over a clear ground (a scene the window scales
    // apart) the display keeps how much of the scene shows through it.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    drawGauge(static_cast<float>(panel.width), static_cast<float>(panel.height));
    drawPanel(e, static_cast<float>(panel.width), static_cast<float>(panel.height));
    if (!e->ship) {
        projectOverlayPixels(centre, width, height);
        drawGameOver(e, centre.width, centre.height);
    }

    projectOverlayUnitSquare(panel, width, height);
    glDepthFunc(GL_ALWAYS);
    GlState::apply(GlState::Blend | GlState::Texture2D, GlState::Lighting);
    drawText(0.832f, 0.91f, 0, hudCache.score, 10);
    drawText(0.885f, 0.875f, 0, hudCache.bombs, 8, 1, 1, 0);
    if (showFps) {
        projectOverlayUnitSquare(overlayFrame(width, height, OverlayAnchor::TopLeft), width, height);
        drawText(0.01f, 0.95f, 0, fpsText(), 10);
    }
    if (e->paused) {
        projectOverlayUnitSquare(centre, width, height);
        drawPausedSign();
    }
}

} // namespace

void updateHudTexts(World* world, const MyShip* ship) {
    if (!ship)
        return;
    if (world->score != ship->score) {
        world->score = ship->score;
        std::snprintf(hudCache.score, sizeof hudCache.score, "%8.8d", world->score);
    }
    if (hudCache.shownBombs != ship->bombs) {
        hudCache.shownBombs = ship->bombs;
        std::snprintf(hudCache.bombs, sizeof hudCache.bombs, "X %d", hudCache.shownBombs);
    }
}

const char* scoreText() {
    return hudCache.score;
}

const char* bombsText() {
    return hudCache.bombs;
}

void resetHudTexts() {
    hudCache.reset();
}

void World::drawHud() {
    const Engine* e = Engine::instance();
    const int width = e->screenWidth;
    const int height = e->screenHeight;
    const OverlayFrame panel = overlayFrame(width, height, OverlayAnchor::TopRight);
    const OverlayFrame centre = overlayFrame(width, height, OverlayAnchor::Centre);
    // Where the display draws, for a scene scaled apart: the panel's corner, the frame rate, the middle.
    std::vector<QRect> areas{overlayArea(panel, height, 0.75f, 0.75f, 1.0f, 1.0f)};
    if (showFps)
        areas.push_back(
            overlayArea(overlayFrame(width, height, OverlayAnchor::TopLeft), height, 0, 0.88f, 0.4f, 1));
    if (!e->ship || e->paused)
        areas.push_back(overlayArea(centre, height, 0.2f, 0.35f, 0.8f, 0.85f));

    if (e->ship) {
        hudCache.gaugeEnergy = e->ship->energy;
        hudCache.gaugeMax = e->ship->maxEnergy;
    } else {
        hudCache.gaugeEnergy = 0;
    }
    updateHudTexts(this, e->ship);
    const HudLook look{.width = width,
                       .height = height,
                       .energy = hudCache.gaugeEnergy,
                       .maxEnergy = hudCache.gaugeMax,
                       .lost = !e->ship,
                       .paused = e->paused != 0,
                       .score = hudCache.score,
                       .bombs = hudCache.bombs,
                       .rate = showFps ? fpsText() : ""};
    // Most frames show the same display: a software present keeps its pictures from the last one.
    const bool same = look == shownLook;
    shownLook = look;
    if (!same || !sdlq::keepOverlay(areas)) {
        sdlq::beginOverlay(areas);
        drawDisplay(e, panel, centre, width, height, showFps);
    }

    glDepthFunc(GL_LEQUAL);
    GlState::apply(GlState::DepthWrite | GlState::Lighting | GlState::Texture2D, GlState::Blend);
    GlState::checkErrors("hud");
}
