// Every model after its class's preparation and list transform: whole outward-facing triangles, healthy
// normals, the size of its collision box and the nose where the game expects it.
#include "models/Models.h"
#include "models/ShapeBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>

namespace {

struct Bounds {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    float size(int a) const { return hi[a] - lo[a]; }
    float centre(int a) const { return (hi[a] + lo[a]) / 2; }
};

struct Model {
    std::string name;
    std::function<Mesh()> make;
    float divisor;   // positions divided by this after smoothing (1 = none)
    bool flipV;      // texture v replaced by 1 − v
    Rotation list;   // rotation of the model's display list (and the draw scale below)
    V3 offset;       // translation of the display list
    float drawScale; // scale applied by draw before the list
    float box[3];    // collision box the shape should fill
    int nose;        // −1: the hull's nose points to −z, +1: to +z, 0: no nose (round or square)
};

void PrintTo(const Model& m, std::ostream* os) {
    *os << m.name;
}

std::vector<Model> models() {
    const Rotation none;
    const Rotation bandit =
        Rotation::about(90, 0, 1, 0).then(Rotation::about(90, 1, 0, 0)).then(Rotation::about(180, 0, 1, 0));
    const Rotation raider = Rotation::about(90, 1, 0, 0).then(Rotation::about(190, 0, 1, 0));
    return {
        {"ship", meshMyShip, 120, false, none, {0.13f, 0, 0}, 1, {1.7f, 0.8f, 0.5f}, 1},
        {"shield", meshShield, 1, false, Rotation::about(-90, 1, 0, 0), {0, 0, 0}, 1, {2.0f, 1.1f, 1.5f}, 0},
        {"bandit2", meshBandit2, 100, false, bandit, {0, 0.2f, 0}, 1, {1.2f, 1.0f, 1.8f}, -1},
        {"fighter2",
         meshFighter2,
         1,
         true,
         Rotation::about(180, 0, 1, 0),
         {0, 0, 0},
         2,
         {2.0f, 1.0f, 2.0f},
         -1},
        {"ship1", meshShip1, 100, false, raider, {0, 0.2f, 0}, 1, {1.0f, 1.0f, 1.8f}, -1},
        {"cube", meshCube, 1.5f, false, none, {0, 0, 0}, 1, {1, 1, 1}, 0},
        {"capsule", meshCapsule, 1, true, none, {0, 0, 0}, 1, {1, 1, 1}, 0},
        // The missile's plain box (0.1 × 0.1 × 0.35) is the shape it stands for.
        {"missile", meshMissile, 800, false, none, {0, 0, 0}, 1, {0.1f, 0.1f, 0.35f}, 1},
    };
}

// The preparation every buildModels runs, then the list transform and draw scale.
Mesh prepared(const Model& m) {
    Mesh mesh = m.make();
    smoothNormals(mesh);
    if (m.divisor != 1)
        scalePositions(mesh, m.divisor);
    if (m.flipV)
        flipTextureV(mesh);
    for (int i = 0; i < mesh.vertexCount(); ++i) {
        float* v = mesh.vertex(i);
        const V3 p = m.list.apply({v[0], v[1], v[2]});
        const V3 n = m.list.apply({v[3], v[4], v[5]});
        const float s = m.drawScale;
        v[0] = (p.x + m.offset.x) * s;
        v[1] = (p.y + m.offset.y) * s;
        v[2] = (p.z + m.offset.z) * s;
        v[3] = n.x;
        v[4] = n.y;
        v[5] = n.z;
    }
    return mesh;
}

Bounds bounds(const Mesh& mesh) {
    Bounds b;
    for (int i = 0; i < mesh.vertexCount(); ++i)
        for (int a = 0; a < 3; ++a) {
            b.lo[a] = std::min(b.lo[a], mesh.vertex(i)[a]);
            b.hi[a] = std::max(b.hi[a], mesh.vertex(i)[a]);
        }
    return b;
}

class MeshTest : public ::testing::TestWithParam<Model> {};

TEST_P(MeshTest, IsMadeOfWholeTrianglesOfModestCount) {
    const Mesh mesh = GetParam().make();
    ASSERT_EQ(mesh.data.size() % (3 * Mesh::Stride), 0u);
    EXPECT_GE(mesh.vertexCount(), 150);
    EXPECT_LE(mesh.vertexCount(), 2400);
    for (float f : mesh.data)
        ASSERT_TRUE(std::isfinite(f));
}

TEST_P(MeshTest, RawNormalsAreUnitAndAgreeWithTheWinding) {
    const Mesh mesh = GetParam().make();
    for (int t = 0; t < mesh.triangleCount(); ++t) {
        const float* a = mesh.vertex(3 * t);
        const float* b = mesh.vertex(3 * t + 1);
        const float* c = mesh.vertex(3 * t + 2);
        const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                            e1[0] * e2[1] - e1[1] * e2[0]};
        const float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        ASSERT_GT(len, 0) << "triangle " << t << " has no area";
        for (int k = 0; k < 3; ++k) {
            const float* v = mesh.vertex(3 * t + k);
            EXPECT_NEAR(std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]), 1.0f, 1e-3f);
            // Counter-clockwise seen from where the normal points.
            EXPECT_GT((n[0] * v[3] + n[1] * v[4] + n[2] * v[5]) / len, 0.99f) << "triangle " << t;
        }
    }
}

// Möller–Trumbore: does the ray o + t d (t > 0) hit the triangle?
bool hits(const float* o, const float* d, const float* a, const float* b, const float* c) {
    const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2],
                         d[0] * e2[1] - d[1] * e2[0]};
    const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
    if (std::fabs(det) < 1e-12)
        return false;
    const double s[3] = {o[0] - a[0], o[1] - a[1], o[2] - a[2]};
    const double u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) / det;
    if (u < 0 || u > 1)
        return false;
    const double q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2],
                         s[0] * e1[1] - s[1] * e1[0]};
    const double v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) / det;
    if (v < 0 || u + v > 1)
        return false;
    return (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) / det > 1e-7;
}

TEST_P(MeshTest, NoTriangleShowsItsBackToTheOutside) {
    // Behind an outward-facing triangle of a closed part lies the rest of that part, so a ray leaving its
    // back always hits something. A ray that escapes means the back side is what the player would see.
    const Mesh mesh = prepared(GetParam());
    double exposed = 0, total = 0;
    for (int t = 0; t < mesh.triangleCount(); ++t) {
        const float* a = mesh.vertex(3 * t);
        const float* b = mesh.vertex(3 * t + 1);
        const float* c = mesh.vertex(3 * t + 2);
        const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                      e1[0] * e2[1] - e1[1] * e2[0]};
        const float area = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (float& k : n)
            k = -k / area;
        // Start a hair behind the surface, slightly off-centre so that the ray misses shared edges.
        float o[3];
        for (int k = 0; k < 3; ++k)
            o[k] = 0.31f * a[k] + 0.33f * b[k] + 0.36f * c[k] + 1e-5f * n[k];
        bool hit = false;
        for (int u = 0; u < mesh.triangleCount() && !hit; ++u)
            hit = u != t && hits(o, n, mesh.vertex(3 * u), mesh.vertex(3 * u + 1), mesh.vertex(3 * u + 2));
        total += area;
        if (!hit)
            exposed += area;
    }
    EXPECT_LT(exposed / total, 0.005) << GetParam().name;
}

TEST_P(MeshTest, SmoothedNormalsStayUsable) {
    // Averaged normals are not renormalised (GL normalises them), but none may vanish.
    Mesh mesh = GetParam().make();
    smoothNormals(mesh);
    for (int i = 0; i < mesh.vertexCount(); ++i) {
        const float* v = mesh.vertex(i);
        const float len = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
        EXPECT_GT(len, 0.1f) << "vertex " << i;
        EXPECT_LE(len, 1.0001f) << "vertex " << i;
    }
}

TEST_P(MeshTest, FillsItsCollisionBox) {
    const Model& m = GetParam();
    const Bounds b = bounds(prepared(m));
    for (int a = 0; a < 3; ++a) {
        EXPECT_NEAR(b.size(a), m.box[a], 0.2f * m.box[a]) << m.name << " axis " << a;
        EXPECT_NEAR(b.centre(a), 0, 0.25f * m.box[a]) << m.name << " axis " << a;
    }
}

TEST_P(MeshTest, NosePointsTheWayItFlies) {
    const Model& m = GetParam();
    if (m.nose == 0)
        GTEST_SKIP() << "no nose";
    // The front of the hull's texture (body region, v < 0.08) sits at the nose.
    const Mesh mesh = prepared(m);
    const Bounds b = bounds(mesh);
    double sum = 0;
    int count = 0;
    for (int i = 0; i < mesh.vertexCount(); ++i)
        if (mesh.vertex(i)[7] < 0.08f) {
            sum += mesh.vertex(i)[2];
            ++count;
        }
    ASSERT_GT(count, 0);
    const double noseZ = sum / count;
    if (m.nose < 0)
        EXPECT_LT(noseZ, b.lo[2] + 0.2 * b.size(2)) << m.name;
    else
        EXPECT_GT(noseZ, b.hi[2] - 0.2 * b.size(2)) << m.name;
}

TEST_P(MeshTest, TextureCoordinatesStayInThePicture) {
    const Mesh mesh = prepared(GetParam());
    for (int i = 0; i < mesh.vertexCount(); ++i) {
        EXPECT_GE(mesh.vertex(i)[6], -0.001f);
        EXPECT_LE(mesh.vertex(i)[6], 1.001f);
        EXPECT_GE(mesh.vertex(i)[7], -0.001f);
        EXPECT_LE(mesh.vertex(i)[7], 1.001f);
    }
}

TEST_P(MeshTest, EachCallBuildsTheSameMesh) {
    EXPECT_EQ(GetParam().make().data, GetParam().make().data);
}

INSTANTIATE_TEST_SUITE_P(Models, MeshTest, ::testing::ValuesIn(models()),
                         [](const ::testing::TestParamInfo<Model>& info) { return info.param.name; });

TEST(MeshShield, EnclosesTheShip) {
    const Model ship = models()[0];
    const Model shield = models()[1];
    const Bounds s = bounds(prepared(ship));
    const Bounds b = bounds(prepared(shield));
    // The ship reaches to its wing tips; the bubble covers the hull and most of the wings.
    EXPECT_LT(b.lo[1], s.lo[1] + 0.1f);
    EXPECT_GT(b.hi[1], s.hi[1] - 0.1f);
    EXPECT_LT(b.lo[2], s.lo[2]);
    EXPECT_GT(b.hi[2], s.hi[2]);
    EXPECT_LT(b.lo[0], s.lo[0] + 0.1f);
    EXPECT_GT(b.hi[0], s.hi[0] - 0.1f);
}

} // namespace
