// The GL switches have one owner: in a check build a sprite that leaves one changed is named, a GlState
// puts back what it changed, and a pass reports its GL errors.
#include "GameScene.h"

#include "core/ListSprite.h"
#include "core/Sprite.h"
#include "core/World.h"
#include "render/GlState.h"

#include <GL/gl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A sprite whose look is only its GL calls.
class Calls : public Sprite {
public:
    Calls(List* owner, int kind, std::function<void()> calls) : Sprite(owner, kind, 0, 1, 20), calls(calls) {}
    void draw() override { calls(); }
    void collide(Sprite*) override {}
    std::function<void()> calls;
};
class LeavesBlendOn : public Calls {
    using Calls::Calls;
};

// Two play frames in a check build; what went to stderr.
std::string twoPlayFrames(GameScene& scene, std::initializer_list<Sprite*> sprites) {
    for (Sprite* s : sprites)
        scene.world->sprites->add(s);
    testing::internal::CaptureStderr();
    scene.world->renderPlay();
    scene.world->renderPlay();
    return testing::internal::GetCapturedStderr();
}

// Changes switches twice through a GlState, one of them back and forth: all must be as found after.
void tidyCalls() {
    GlState s(GlState::Blend | GlState::AlphaTest, GlState::Lighting | GlState::DepthWrite);
    s.set(GlState::Lighting | GlState::Fog | GlState::Blend, GlState::CullFace | GlState::Texture2D);
}

TEST(GlStateTest, SpriteThatLeavesASwitchChangedIsNamedOnceAndOneThatUsesAGlStateIsNot) {
    GameScene scene;
    if (!scene.open(320, 240))
        GTEST_SKIP() << "needs an X display";
    List* list = scene.world->sprites;
    const std::string err = twoPlayFrames(
        scene, {new Calls(list, 96, tidyCalls), new LeavesBlendOn(list, 97, [] { glEnable(GL_BLEND); })});
    EXPECT_EQ(err,
              "orbitrax: (anonymous namespace)::LeavesBlendOn (sprite kind 97) left GL switches changed; "
              "on: blend; off: \n");
    EXPECT_EQ(GlState::takeReportCount(), 2); // every frame counts
}

TEST(GlStateTest, PassReportsItsGlErrorOnce) {
    GameScene scene;
    if (!scene.open(320, 240))
        GTEST_SKIP() << "needs an X display";
    const std::string err = twoPlayFrames(scene, {new Calls(scene.world->sprites, 95, [] { glEnable(0); })});
    EXPECT_EQ(err, "orbitrax: GL error 0x0500 in the sprite pass\n");
    EXPECT_EQ(GlState::takeReportCount(), 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); // the pass drained it
}

} // namespace
