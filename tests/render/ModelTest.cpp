// Every model as the game draws it (its display list, caught by GL's feedback mode): no back face shown,
// the size of the collision box it stands for, and the nose where it flies.
#include "GameScene.h"

#include "core/ListSprite.h"
#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/Fighter2.h"
#include "enemies/Ship1.h"
#include "player/MyFire3.h"
#include "player/MyShip.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using P = std::array<double, 3>;

// A sprite that is only a box: what a model without a collision box of its own stands for.
class Box : public Sprite {
public:
    Box(List* owner, float x, float y, float z) : Sprite(owner, 0, 0, 0, 0) {
        sizeX = x, sizeY = y, sizeZ = z;
    }
    void draw() override {}
    void collide(Sprite*) override {}
};

struct Model {
    const char* name;
    Sprite* (*make)(ListSprite*); // the sprite whose box it fills
    void (*draw)(Sprite*);        // as the game draws it at the sprite's place
    int nose;                     // -1: flies towards -z, +1: towards +z, 0: round or square
    bool grounded = false;        // rests on the floor rather than centred on its box
};

template <class S, auto... args> Sprite* make(ListSprite* list) {
    return new S(list, args...);
}
void drawSprite(Sprite* s) {
    s->draw();
}
template <unsigned (*list)(), int k> void callList(Sprite* s) {
    glTranslatef(s->x, s->y, s->z);
    glCallList(list() + k);
}
Sprite* capsule(ListSprite* list) {
    Cube source(list, 2, 0);
    auto* capsule = new Diamond(&source);
    capsule->capsuleType = Diamond::Shield;
    return capsule;
}

const Model models[] = {
    {"ship", make<MyShip, 100>, callList<MyShip::listBase, 0>, 1},
    {"shield", make<Box, 0.0f, 0.0f, 0.0f>, callList<MyShip::listBase, 2>, 0},
    {"bandit2", make<Bandit2, 0.0f, 0.0f, 1.0f, 3>, drawSprite, -1},
    {"fighter2", make<Fighter2, 0.0f, 0.0f, 1.0f, 3>, drawSprite, -1},
    {"ship1", make<Ship1, 0.0f, 0.0f, 1.0f, 3>, drawSprite, -1},
    {"cube", make<Cube, 2, 0>, drawSprite, 0},
    {"capsule", capsule, drawSprite, 0, true},
    // The missile's plain box is what it stands for.
    {"missile", make<Box, 0.1f, 0.1f, 0.35f>, callList<MyFire3::listBase, 0>, 1},
};

P minus(P a, P b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
P cross(P a, P b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(P a, P b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Möller–Trumbore: does the ray o + t d (t > 0) hit the triangle?
bool hits(P o, P d, P a, P b, P c) {
    const P e1 = minus(b, a), e2 = minus(c, a), p = cross(d, e2), s = minus(o, a), q = cross(s, e1);
    const double det = dot(e1, p), u = dot(s, p) / det, v = dot(d, q) / det;
    return std::fabs(det) > 1e-12 && u >= 0 && v >= 0 && u + v <= 1 && dot(e2, q) / det > 1e-7;
}

struct Drawn {
    std::vector<P> p;      // corners of the triangles, three by three
    std::vector<double> v; // their texture v
    P lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
};

// The triangles a draw sends, in world units: an orthographic view of +-4 on each axis, fed back.
Drawn capture(const GameScene& scene, const Model& m, Sprite* sprite) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, scene.width, scene.height);
    glDisable(GL_CULL_FACE);
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    m.draw(sprite);
    const int size = glRenderMode(GL_RENDER);
    Drawn d;
    for (int i = 0; i < size; i += 2 + 3 * 11) { // a polygon token, its count, three vertices
        EXPECT_TRUE(buffer[i] == GL_POLYGON_TOKEN && buffer[i + 1] == 3);
        for (const GLfloat* f = &buffer[i + 2]; f < &buffer[i + 2 + 3 * 11]; f += 11) {
            const P p = {(2 * f[0] / scene.width - 1) * 4, (2 * f[1] / scene.height - 1) * 4,
                         (1 - 2 * f[2]) * 4};
            d.p.push_back(p);
            d.v.push_back(f[8]);
            for (int a = 0; a < 3; ++a)
                d.lo[a] = std::min(d.lo[a], p[a]), d.hi[a] = std::max(d.hi[a], p[a]);
        }
    }
    return d;
}

class ModelTest : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override {
        if (!scene.open(800, 600, {640, 480})) // plain pictures load fastest
            GTEST_SKIP() << "needs an X display";
    }
    GameScene scene;
};

TEST_P(ModelTest, AsDrawnShowsNoBackFaceFillsItsBoxAndPointsItsNose) {
    const Model& m = GetParam();
    ListSprite list;
    const std::unique_ptr<Sprite> sprite(m.make(&list));
    sprite->x = sprite->z = 0;
    const Drawn d = capture(scene, m, sprite.get());
    ASSERT_GT(d.p.size(), 150u);
    // Behind an outward-facing triangle of a closed part lies the rest of the part, so a ray leaving its
    // back hits something; a ray that escapes means the player would see the back side.
    double exposed = 0, total = 0;
    for (size_t t = 0; t < d.p.size(); t += 3) {
        const P n = cross(minus(d.p[t + 1], d.p[t]), minus(d.p[t + 2], d.p[t]));
        const double area = std::sqrt(dot(n, n));
        P o, back;
        for (int k = 0; k < 3; ++k)
            back[k] = -n[k] / area,
            o[k] = 0.31 * d.p[t][k] + 0.33 * d.p[t + 1][k] + 0.36 * d.p[t + 2][k] + 1e-5 * back[k];
        bool hit = false;
        for (size_t u = 0; u < d.p.size() && !hit; u += 3)
            hit = u != t && hits(o, back, d.p[u], d.p[u + 1], d.p[u + 2]);
        total += area;
        exposed += hit ? 0 : area;
    }
    EXPECT_LT(exposed / total, 0.005);
    const float box[3] = {sprite->sizeX, sprite->sizeY, sprite->sizeZ};
    for (int a = 0; a < 3 && box[a] > 0; ++a) {
        EXPECT_NEAR(d.hi[a] - d.lo[a], box[a], 0.2f * box[a] + 1e-3f) << "axis " << a;
        // Centred on the box, or, for a grounded model, standing on the floor.
        const bool ground = a == 1 && m.grounded;
        EXPECT_NEAR(ground ? d.lo[1] : (d.hi[a] + d.lo[a]) / 2, a == 1 && !ground ? sprite->y : 0,
                    ground ? 0.01 : 0.25 * box[a])
            << "axis " << a;
    }
    // The front of a hull's picture (v below 0.08) is at its nose.
    double noseZ = 0;
    int front = 0;
    for (size_t i = 0; i < d.p.size(); ++i) {
        if (d.v[i] < 0.08)
            noseZ += d.p[i][2], ++front;
    }
    const double length = d.hi[2] - d.lo[2];
    EXPECT_TRUE(!m.nose || (m.nose < 0 ? noseZ / front < d.lo[2] + 0.2 * length
                                       : noseZ / front > d.hi[2] - 0.2 * length));
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTest, ::testing::ValuesIn(models),
                         [](const ::testing::TestParamInfo<Model>& info) {
                             return std::string(info.param.name);
                         });

// The bubble covers the hull and most of the wings.
TEST_F(ModelTest, ShieldEnclosesTheShip) {
    ListSprite list;
    Box origin(&list, 0, 0, 0);
    const Drawn ship = capture(scene, models[0], &origin), shield = capture(scene, models[1], &origin);
    for (int a = 0; a < 3; ++a)
        EXPECT_TRUE(shield.lo[a] < ship.lo[a] + 0.1 && shield.hi[a] > ship.hi[a] - 0.1) << "axis " << a;
}

} // namespace
