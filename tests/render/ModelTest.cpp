// Every model as the game draws it (its display list and draw, caught by GL's feedback mode), and as the
// models are built: whole outward-facing triangles, healthy normals, the size of the collision box it
// stands for and the nose where the game expects it.
#include "RenderTest.h"

#include "core/ListSprite.h"
#include "enemies/Bandit2.h"
#include "enemies/Cube.h"
#include "enemies/Diamond.h"
#include "enemies/Fighter2.h"
#include "enemies/Ship1.h"
#include "models/Mesh.h"
#include "models/Models.h"
#include "player/MyFire3.h"
#include "player/MyShip.h"

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A sprite that is only a box: the shape a model without a collision box of its own stands for.
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
    Mesh (*raw)();
    Sprite* (*make)(ListSprite*); // the sprite whose box it fills; none for the shield
    void (*draw)(Sprite*);        // as the game draws it at the sprite's place
    int nose;                     // -1: flies towards -z, +1: towards +z, 0: round or square
    bool grounded = false;        // rests on the floor rather than centred on its box
};

void PrintTo(const Model& m, std::ostream* os) {
    *os << m.name;
}

const Model models[] = {
    {"ship", meshMyShip, [](ListSprite* l) -> Sprite* { return new MyShip(l, 100); },
     [](Sprite* s) { glTranslatef(s->x, s->y, s->z), glCallList(MyShip::listBase()); }, 1},
    {"shield", meshShield, nullptr,
     [](Sprite* s) { glTranslatef(s->x, s->y, s->z), glCallList(MyShip::listBase() + 2); }, 0},
    {"bandit2", meshBandit2, [](ListSprite* l) -> Sprite* { return new Bandit2(l, 0, 0, 1, 3); },
     [](Sprite* s) { s->draw(); }, -1},
    {"fighter2", meshFighter2, [](ListSprite* l) -> Sprite* { return new Fighter2(l, 0, 0, 1, 3); },
     [](Sprite* s) { s->draw(); }, -1},
    {"ship1", meshShip1, [](ListSprite* l) -> Sprite* { return new Ship1(l, 0, 0, 1, 3); },
     [](Sprite* s) { s->draw(); }, -1},
    {"cube", meshCube, [](ListSprite* l) -> Sprite* { return new Cube(l, 2, 0); },
     [](Sprite* s) { s->draw(); }, 0},
    {"capsule", meshCapsule,
     [](ListSprite* l) -> Sprite* {
         Cube source(l, 2, 0);
         auto* capsule = new Diamond(&source);
         capsule->capsuleType = Diamond::Shield;
         return capsule;
     },
     [](Sprite* s) { s->draw(); }, 0, true},
    // The missile's plain box is what it stands for.
    {"missile", meshMissile, [](ListSprite* l) -> Sprite* { return new Box(l, 0.1f, 0.1f, 0.35f); },
     [](Sprite* s) { glTranslatef(s->x, s->y, s->z), glCallList(MyFire3::listBase()); }, 1},
};

struct V {
    float p[3];
    float t; // texture v
};

// The triangles a draw sends, in model units (an orthographic view of +-Side on each axis).
std::vector<V> capture(GameScene& scene, const Model& m, Sprite* sprite) {
    constexpr float Side = 4;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-Side, Side, -Side, Side, -Side, Side);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, scene.width, scene.height);
    glDisable(GL_CULL_FACE);
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    m.draw(sprite);
    const int size = glRenderMode(GL_RENDER);
    std::vector<V> triangles;
    for (int i = 0; i < size;) {
        const int token = static_cast<int>(buffer[i++]), count = static_cast<int>(buffer[i++]);
        EXPECT_EQ(token, GL_POLYGON_TOKEN);
        EXPECT_EQ(count, 3);
        for (int k = 0; k < count; ++k, i += 11) {
            const float* f = &buffer[i];
            triangles.push_back({{(2 * f[0] / scene.width - 1) * Side, (2 * f[1] / scene.height - 1) * Side,
                                  (1 - 2 * f[2]) * Side},
                                 f[8]});
        }
    }
    return triangles;
}

struct Bounds {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    explicit Bounds(const std::vector<V>& vs) {
        for (const V& v : vs)
            for (int a = 0; a < 3; ++a)
                lo[a] = std::min(lo[a], v.p[a]), hi[a] = std::max(hi[a], v.p[a]);
    }
};

void cross(const float* a, const float* b, const float* c, double* n) {
    const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]},
                 e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    n[0] = e1[1] * e2[2] - e1[2] * e2[1], n[1] = e1[2] * e2[0] - e1[0] * e2[2],
    n[2] = e1[0] * e2[1] - e1[1] * e2[0];
}

// Möller–Trumbore: does the ray o + t d (t > 0) hit the triangle?
bool hits(const double* o, const double* d, const float* a, const float* b, const float* c) {
    const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]},
                 e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2],
                         d[0] * e2[1] - d[1] * e2[0]};
    const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
    if (std::fabs(det) < 1e-12)
        return false;
    const double s[3] = {o[0] - a[0], o[1] - a[1], o[2] - a[2]};
    const double u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) / det;
    const double q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2],
                         s[0] * e1[1] - s[1] * e1[0]};
    const double v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) / det;
    return u >= 0 && v >= 0 && u + v <= 1 && (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) / det > 1e-7;
}

class ModelTest : public RenderTest, public ::testing::WithParamInterface<Model> {};

TEST_P(ModelTest, IsBuiltOfWholeTrianglesWithUnitNormalsAlongTheirWinding) {
    const Mesh mesh = GetParam().raw();
    ASSERT_EQ(mesh.data.size() % (3 * Mesh::Stride), 0u);
    EXPECT_GE(mesh.vertexCount(), 150);
    EXPECT_LE(mesh.vertexCount(), 2400);
    EXPECT_EQ(mesh.data, GetParam().raw().data); // each call builds the same
    Mesh smooth = mesh;
    smoothNormals(smooth);
    int wrong = 0;
    for (int i = 0; i < mesh.vertexCount(); ++i) {
        const float* v = mesh.vertex(i);
        const float* s = smooth.vertex(i);
        double n[3];
        cross(mesh.vertex(i - i % 3), mesh.vertex(i - i % 3 + 1), mesh.vertex(i - i % 3 + 2), n);
        const double area = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        const double length = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
        const double smoothed = std::sqrt(s[3] * s[3] + s[4] * s[4] + s[5] * s[5]);
        // Counter-clockwise seen from where the normal points; averaged normals may shrink, never vanish.
        wrong += !std::isfinite(v[0] + v[1] + v[2]) || area <= 0 || std::fabs(length - 1) > 1e-3 ||
                 (n[0] * v[3] + n[1] * v[4] + n[2] * v[5]) / area < 0.99 || smoothed < 0.1 ||
                 smoothed > 1.0001;
    }
    EXPECT_EQ(wrong, 0);
}

TEST_P(ModelTest, AsDrawnShowsNoBackFaceFillsItsBoxAndPointsItsNose) {
    const Model& m = GetParam();
    ListSprite list;
    Sprite* sprite = m.make ? m.make(&list) : new Box(&list, 0, 0, 0);
    sprite->x = sprite->z = 0;
    const std::vector<V> vs = capture(scene, m, sprite);
    ASSERT_GT(vs.size(), 150u);
    // Behind an outward-facing triangle of a closed part lies the rest of that part, so a ray leaving its
    // back hits something; a ray that escapes means the player would see the back side.
    double exposed = 0, total = 0;
    for (size_t t = 0; t < vs.size(); t += 3) {
        double n[3], o[3];
        cross(vs[t].p, vs[t + 1].p, vs[t + 2].p, n);
        const double area = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int k = 0; k < 3; ++k) {
            n[k] = -n[k] / area;
            o[k] = 0.31 * vs[t].p[k] + 0.33 * vs[t + 1].p[k] + 0.36 * vs[t + 2].p[k] + 1e-5 * n[k];
        }
        bool hit = false;
        for (size_t u = 0; u < vs.size() && !hit; u += 3)
            hit = u != t && hits(o, n, vs[u].p, vs[u + 1].p, vs[u + 2].p);
        total += area;
        exposed += hit ? 0 : area;
    }
    EXPECT_LT(exposed / total, 0.005);
    const Bounds b(vs);
    const float box[3] = {sprite->sizeX, sprite->sizeY, sprite->sizeZ};
    for (int a = 0; a < 3 && m.make; ++a) {
        const float centre = a == 1 ? sprite->y : 0;
        EXPECT_NEAR(b.hi[a] - b.lo[a], box[a], 0.2f * box[a] + 1e-3f) << "axis " << a;
        if (a != 1 || !m.grounded)
            EXPECT_NEAR((b.hi[a] + b.lo[a]) / 2, centre, 0.25f * box[a]) << "axis " << a;
    }
    if (m.grounded)
        EXPECT_NEAR(b.lo[1], 0, 0.01);
    // The front of a hull's picture (v below 0.08) sits at its nose; texture coordinates stay in the picture.
    double noseZ = 0;
    int front = 0, outside = 0;
    for (const V& v : vs) {
        if (v.t < 0.08f)
            noseZ += v.p[2], ++front;
        outside += m.nose && (v.t < -0.001f || v.t > 1.001f);
    }
    EXPECT_EQ(outside, 0);
    noseZ /= front;
    if (m.nose < 0)
        EXPECT_LT(noseZ, b.lo[2] + 0.2 * (b.hi[2] - b.lo[2]));
    if (m.nose > 0)
        EXPECT_GT(noseZ, b.hi[2] - 0.2 * (b.hi[2] - b.lo[2]));
    delete sprite;
}

INSTANTIATE_TEST_SUITE_P(Models, ModelTest, ::testing::ValuesIn(models),
                         [](const ::testing::TestParamInfo<Model>& info) {
                             return std::string(info.param.name);
                         });

// The bubble covers the hull and most of the wings.
TEST_F(RenderTest, ShieldEnclosesTheShip) {
    ListSprite list;
    Box origin(&list, 0, 0, 0);
    const Bounds ship(capture(scene, models[0], &origin)), shield(capture(scene, models[1], &origin));
    for (int a = 0; a < 3; ++a) {
        EXPECT_LT(shield.lo[a], ship.lo[a] + 0.1f) << "axis " << a;
        EXPECT_GT(shield.hi[a], ship.hi[a] - 0.1f) << "axis " << a;
    }
}

} // namespace
