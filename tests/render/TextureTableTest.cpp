// The engine's texture table on a real driver: names, wrapping, filters and anisotropy per option, and
// the title picture cut into tiles.
#include "RenderTest.h"

#include "core/Engine.h"
#include "render/GLSetup.h"
#include "render/Textures.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>

namespace {

GLfloat parameter(unsigned int name, GLenum which) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLfloat value = 0;
    glGetTexParameterfv(GL_TEXTURE_2D, which, &value);
    return value;
}

// Whether a file's name starts with one of the prefixes.
bool among(const char* file, std::initializer_list<const char*> prefixes) {
    for (const char* p : prefixes)
        if (std::string(file).rfind(std::string("textures/") + p, 0) == 0)
            return true;
    return false;
}

// The large surfaces seen at a slant or minified: the filter option reaches them, and models keep trilinear.
bool filtered(const char* file) {
    return among(file, {"floor", "border", "mark", "tache", "fumee", "space"});
}
// The floor, its light maps and the border are sharpened by the anisotropy option, the font at load only.
bool sharpened(const char* file) {
    return among(file, {"floor", "border"});
}

class TextureTable : public RenderTest {};

} // namespace

TEST_F(TextureTable, ProbeSeesWhatTheDriverOffers) {
    Engine* e = scene.engine;
    EXPECT_EQ(e->hasCombineDot3,
              hasExtension("GL_ARB_texture_env_dot3") && hasExtension("GL_ARB_texture_env_combine"));
    EXPECT_EQ(e->hasCubeMap, hasExtension("GL_ARB_texture_cube_map"));
    EXPECT_EQ(e->hasSeparateSpecular, hasExtension("GL_EXT_separate_specular_color"));
    GLfloat driverMost = 0;
    if (hasExtension("GL_EXT_texture_filter_anisotropic"))
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &driverMost);
    EXPECT_FLOAT_EQ(e->maxAnisotropy, std::min(driverMost, 8.0f)); // the options offer at most 8
    EXPECT_NE(activeTextureFn, nullptr);
    EXPECT_NE(multiTexCoord2fFn, nullptr);
}

TEST_F(TextureTable, EveryFileGetsItsOwnNames) {
    std::set<unsigned int> names;
    int count = 0;
    for (const TextureFile& f : scene.engine->textureFiles()) {
        SCOPED_TRACE(f.file);
        for (int k = 0; k < f.tiles; ++k, ++count) {
            names.insert(f.names[k]);
            EXPECT_EQ(glIsTexture(f.names[k]), GL_TRUE);
            // Only the border strip is clamped: its picture does not repeat across the floor's edge.
            const bool border = f.names == &scene.engine->texBorder;
            EXPECT_EQ(parameter(f.names[k], GL_TEXTURE_WRAP_S), border ? GL_CLAMP_TO_EDGE : GL_REPEAT);
            EXPECT_EQ(parameter(f.names[k], GL_TEXTURE_WRAP_T), border ? GL_CLAMP_TO_EDGE : GL_REPEAT);
        }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(count));
    EXPECT_EQ(count, 47); // 42 files, the title in six tiles
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTable, FilterOptionReachesTheLargeSurfacesOnly) {
    // Options 0 to 2, then back to 0; an unknown option changes nothing.
    for (auto [option, mag, min] : {std::tuple{0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                                    {1, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
                                    {2, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
                                    {0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                                    {3, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                                    {-1, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST}}) {
        scene.engine->applyFilterOption(option);
        for (const TextureFile& f : scene.engine->textureFiles()) {
            const bool follows = filtered(f.file);
            EXPECT_EQ(parameter(f.names[0], GL_TEXTURE_MAG_FILTER), follows ? mag : GL_LINEAR)
                << option << f.file;
            EXPECT_EQ(parameter(f.names[0], GL_TEXTURE_MIN_FILTER), follows ? min : GL_LINEAR_MIPMAP_LINEAR)
                << option << f.file;
        }
    }
}

TEST_F(TextureTable, AnisotropyAtLoadAndPerOption) {
    Engine* e = scene.engine;
    if (e->maxAnisotropy <= 0)
        GTEST_SKIP() << "driver without anisotropic filtering";
    for (int level : {2, 4, 0, 1}) {
        applyAnisotropy(level);
        for (const TextureFile& f : e->textureFiles()) {
            SCOPED_TRACE(std::to_string(level) + " " + f.file);
            const float expected = sharpened(f.file)         ? std::max(level, 1)
                                   : f.names == &e->texChars ? e->maxAnisotropy
                                                             : 1.0f;
            EXPECT_FLOAT_EQ(parameter(f.names[0], GL_TEXTURE_MAX_ANISOTROPY_EXT), expected);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Each of the six tiles (three columns, two rows of 256) holds the picture where it lies inside,
// transparent black beyond, whatever the picture's size.
TEST_F(TextureTable, TitleIsCutIntoSixTiles) {
    std::vector<unsigned char> texels(256 * 256 * 4);
    for (auto [w, h] :
         {std::pair{640u, 480u}, std::pair{300u, 200u}, std::pair{900u, 600u}, std::pair{1u, 1u}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        start(1024, 768, w, h);
        for (unsigned k = 0; k < 6; ++k) {
            glBindTexture(GL_TEXTURE_2D, scene.engine->texTitle[k]);
            GLint size[2] = {0, 0};
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
            ASSERT_EQ(size[0], 256);
            ASSERT_EQ(size[1], 256);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
            int wrong = 0;
            for (unsigned y = 0; y < 256; ++y) {
                for (unsigned x = 0; x < 256; ++x) {
                    const unsigned px = 256 * (k % 3) + x, py = 256 * (k / 3) + y;
                    unsigned char expected[4] = {0, 0, 0, 0};
                    if (px < w && py < h)
                        titleTexel(px, py, expected);
                    wrong += std::memcmp(texels.data() + (y * 256 + x) * 4, expected, 4) != 0;
                }
            }
            EXPECT_EQ(wrong, 0) << "tile " << k;
        }
    }
}
