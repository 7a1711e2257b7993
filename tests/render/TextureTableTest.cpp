// The texture table on a real driver: names, filters and anisotropy per option, title tiles.
#include "GLHarness.h"
#include "core/Engine.h"
#include "render/GLSetup.h"
#include "render/Textures.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <set>
#include <vector>

namespace {

class TextureTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GLHarness::get()->ok())
            GTEST_SKIP() << "no GL context (run under xvfb-run)";
        GLHarness::get()->startWorld();
        e = Engine::instance();
    }
    Engine* e = nullptr;
};

GLint intParameter(unsigned int name, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

GLfloat anisotropyOf(unsigned int name) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLfloat value = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
    return value;
}

// The textures the filter option reaches, in its order.
std::vector<unsigned int> filtered(const Engine* e) {
    std::vector<unsigned int> names;
    for (int k = 0; k < 5; ++k)
        names.insert(names.end(), {e->texFloor[k], e->texFloorMap[k]});
    names.insert(names.end(), {e->texBorder, e->texMark, e->texTache});
    names.insert(names.end(), std::begin(e->texSmoke), std::end(e->texSmoke));
    names.insert(names.end(), std::begin(e->texSpace), std::end(e->texSpace));
    return names;
}

std::vector<unsigned int> unfiltered(const Engine* e) {
    return {e->texChars, e->texTitle[0], e->texTitle[5], e->texCube,       e->texMyShip,
            e->texBoard, e->texGameOver, e->texGalaxy,   e->texCapsule[3], e->texDeadTache};
}

std::vector<unsigned int> anisotropic(const Engine* e) {
    std::vector<unsigned int> names(std::begin(e->texFloor), std::end(e->texFloor));
    names.insert(names.end(), std::begin(e->texFloorMap), std::end(e->texFloorMap));
    names.push_back(e->texBorder);
    return names;
}

} // namespace

TEST_F(TextureTableTest, ProbeAgreesWithTheDriver) {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(extensions, nullptr);
    EXPECT_EQ(e->hasCombineDot3, hasExtension("GL_ARB_texture_env_dot3", extensions) &&
                                     hasExtension("GL_ARB_texture_env_combine", extensions));
    EXPECT_EQ(e->hasCubeMap, hasExtension("GL_ARB_texture_cube_map", extensions));
    EXPECT_EQ(e->hasSeparateSpecular, hasExtension("GL_EXT_separate_specular_color", extensions));
    if (hasExtension("GL_EXT_texture_filter_anisotropic", extensions)) {
        GLfloat limit = 0;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &limit);
        EXPECT_FLOAT_EQ(e->maxAnisotropy, limit > 8 ? 8.0f : limit);
    } else {
        EXPECT_EQ(e->maxAnisotropy, 0.0f);
    }
    EXPECT_NE(activeTextureFn, nullptr);
    EXPECT_NE(multiTexCoord2fFn, nullptr);
}

TEST_F(TextureTableTest, EveryFileGetsItsOwnName) {
    std::vector<unsigned int> all = {e->texChars,   e->texCube,      e->texBandit1, e->texBandit2,
                                     e->texMyShip,  e->texPiege,     e->texChain,   e->texCamouflage,
                                     e->texTache,   e->texDeadTache, e->texSphere,  e->texGameOver,
                                     e->texBoard,   e->texGalaxy,    e->texBorder,  e->texMark,
                                     e->texThunder, e->texEffect1,   e->texMissile, e->texFighter2};
    all.insert(all.end(), std::begin(e->texTitle), std::end(e->texTitle));
    all.insert(all.end(), std::begin(e->texSmoke), std::end(e->texSmoke));
    all.insert(all.end(), std::begin(e->texFloor), std::end(e->texFloor));
    all.insert(all.end(), std::begin(e->texFloorMap), std::end(e->texFloorMap));
    all.insert(all.end(), std::begin(e->texCapsule), std::end(e->texCapsule));
    all.insert(all.end(), std::begin(e->texSpace), std::end(e->texSpace));
    EXPECT_EQ(all.size(), 47u); // 41 files, one of them in six tiles
    const std::set<unsigned int> distinct(all.begin(), all.end());
    EXPECT_EQ(distinct.size(), all.size());
    for (unsigned int name : all)
        EXPECT_EQ(glIsTexture(name), GL_TRUE) << name;
    EXPECT_EQ(intParameter(e->texBorder, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(intParameter(e->texBorder, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(intParameter(e->texFloor[0], GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTableTest, FilterOptionReachesTheListedTexturesOnly) {
    struct Case {
        int option;
        GLint mag, min;
    };
    const Case cases[] = {
        {0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},  {1, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
        {2, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},     {0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        {3, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST}, // an unknown option applies nothing
        {-1, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        e->applyFilterOption(c.option);
        for (unsigned int name : filtered(e)) {
            EXPECT_EQ(intParameter(name, GL_TEXTURE_MAG_FILTER), c.mag) << name;
            EXPECT_EQ(intParameter(name, GL_TEXTURE_MIN_FILTER), c.min) << name;
        }
        for (unsigned int name : unfiltered(e)) {
            EXPECT_EQ(intParameter(name, GL_TEXTURE_MAG_FILTER), GL_LINEAR) << name;
            EXPECT_EQ(intParameter(name, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR) << name;
        }
    }
}

TEST_F(TextureTableTest, AnisotropyAtLoadAndPerOption) {
    if (e->maxAnisotropy <= 0)
        GTEST_SKIP() << "driver without anisotropic filtering";
    // At load: the rows marked for it, among them the font; floor 0 is not.
    for (unsigned int name :
         {e->texFloor[1], e->texFloor[4], e->texFloorMap[0], e->texFloorMap[4], e->texChars, e->texBorder})
        EXPECT_FLOAT_EQ(anisotropyOf(name), e->maxAnisotropy) << name;
    for (unsigned int name : {e->texMark, e->texMyShip, e->texSpace[0], e->texTitle[0]})
        EXPECT_FLOAT_EQ(anisotropyOf(name), 1.0f) << name;

    for (int level : {2, 4, 0, 1}) {
        SCOPED_TRACE(level);
        applyAnisotropy(level);
        for (unsigned int name : anisotropic(e))
            EXPECT_FLOAT_EQ(anisotropyOf(name), level < 1 ? 1.0f : static_cast<float>(level)) << name;
        EXPECT_FLOAT_EQ(anisotropyOf(e->texChars), e->maxAnisotropy);
        EXPECT_FLOAT_EQ(anisotropyOf(e->texMark), 1.0f);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

namespace {

// The six title tiles: each texel from the picture where it lies inside, transparent black beyond.
void expectTiles(const Engine* e, unsigned int pictureWidth, unsigned int pictureHeight) {
    std::vector<unsigned char> texels(256 * 256 * 4);
    for (unsigned int k = 0; k < 6; ++k) {
        glBindTexture(GL_TEXTURE_2D, e->texTitle[k]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        ASSERT_EQ(w, 256);
        ASSERT_EQ(h, 256);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        int wrong = 0;
        for (unsigned int y = 0; y < 256; ++y) {
            for (unsigned int x = 0; x < 256; ++x) {
                const unsigned int px = 256 * (k % 3) + x;
                const unsigned int py = 256 * (k / 3) + y;
                unsigned char expected[4] = {0, 0, 0, 0};
                if (px < pictureWidth && py < pictureHeight)
                    titleTexel(px, py, expected);
                const unsigned char* got = texels.data() + (y * 256 + x) * 4;
                wrong += got[0] != expected[0] || got[1] != expected[1] || got[2] != expected[2] ||
                         got[3] != expected[3];
            }
        }
        EXPECT_EQ(wrong, 0) << "tile " << k;
    }
}

} // namespace

TEST_F(TextureTableTest, TitleIsCutIntoSixTiles) {
    expectTiles(e, 640, 480);
}

TEST_F(TextureTableTest, TitleOfAnotherSizeIsCutWithinThePicture) {
    const QString dir = GLHarness::get()->textureDir();
    for (auto [w, h] : {std::pair{300u, 200u}, std::pair{900u, 600u}, std::pair{1u, 1u}}) {
        SCOPED_TRACE(w);
        ASSERT_TRUE(writeTitle(dir, w, h));
        GLHarness::get()->startWorld();
        expectTiles(Engine::instance(), w, h);
    }
    ASSERT_TRUE(writeTitle(dir, 640, 480));
}
