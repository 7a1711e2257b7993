// The game's craft, built by lofting sections in the world frame (y up, x across) and handed over in the
// raw units each class's buildModels expects. Texture regions follow the hull pictures of the asset
// generator: body v 0 … 0.5, wings v 0.5 … 0.75, glass u 0 … 0.5 and parts u 0.5 … 1 below.
#include "models/Models.h"

#include "models/Angles.h"
#include "models/ShapeBuilder.h"

#include <cmath>
#include <vector>

namespace {

struct Station {
    float z, cy, a, b;
};

// A closed body along z; v runs over [v0, v1] from the first station to the last.
void body(ShapeBuilder& sb, const std::vector<Station>& st, float cx, float e, int n, float u0, float u1,
          float v0, float v1) {
    std::vector<Section> secs;
    const float len = st.back().z - st.front().z;
    for (const Station& s : st) {
        const float f = (s.z - st.front().z) / len;
        secs.push_back(ringZ(s.z, cx, s.cy, s.a, s.b, e, n, u0, u1, v0 + (v1 - v0) * f));
    }
    sb.loft(secs, true, true);
}

struct Span {
    float s, h, lead, trail, t;
};

// A wing or fin: sections along x (axis 0) or y (axis 1); texture v from v0 at the first section to v1.
void wing(ShapeBuilder& sb, int axis, const std::vector<Span>& spans, float u0, float u1, float v0,
          float v1) {
    std::vector<Section> secs;
    for (size_t i = 0; i < spans.size(); ++i) {
        const Span& w = spans[i];
        secs.push_back(airfoil(axis, w.s, w.h, w.lead, w.trail, w.t, 10, u0, u1,
                               v0 + (v1 - v0) * i / (spans.size() - 1)));
    }
    sb.loft(secs, true, true);
}

// Engine pod: a short tube with a flared nozzle, parts region, nozzle glow at its rear end.
void pod(ShapeBuilder& sb, float cx, float cy, float front, float back, float r) {
    const float d = back - front;
    std::vector<Station> st = {{front, cy, r * 0.5f, r * 0.5f},
                               {front + 0.15f * d, cy, r * 0.95f, r * 0.95f},
                               {front + 0.8f * d, cy, r, r},
                               {back, cy, r * 0.8f, r * 0.8f}};
    body(sb, st, cx, 2, 12, 0.5f, 1.0f, 0.76f, 0.99f);
}

const Rotation Identity;

} // namespace

Mesh meshMyShip() {
    ShapeBuilder sb;
    // Nose toward +z; engines 0.4 either side of the centre line, the whole ship centred at x −0.1.
    body(sb,
         {{0.30f, -0.02f, 0.03f, 0.03f},
          {0.22f, -0.01f, 0.11f, 0.08f},
          {0.10f, 0.0f, 0.17f, 0.12f},
          {-0.05f, 0.0f, 0.2f, 0.14f},
          {-0.18f, 0.0f, 0.18f, 0.12f},
          {-0.26f, 0.0f, 0.13f, 0.09f}},
         0, 2.5f, 16, 0, 1, 0.0f, 0.5f);
    body(sb,
         {{0.2f, 0.08f, 0.02f, 0.02f},
          {0.13f, 0.12f, 0.08f, 0.07f},
          {0.0f, 0.14f, 0.09f, 0.08f},
          {-0.12f, 0.11f, 0.06f, 0.05f}},
         0, 2, 12, 0.0f, 0.5f, 0.76f, 0.99f);
    const int half = sb.size();
    pod(sb, 0.4f, 0.05f, 0.16f, -0.27f, 0.1f);
    // Gull wing: up to the pods, then flat out to the tips.
    wing(sb, 0,
         {{0.15f, -0.02f, 0.17f, -0.2f, 0.07f},
          {0.4f, 0.05f, 0.1f, -0.22f, 0.06f},
          {0.8f, 0.03f, 0.0f, -0.2f, 0.035f}},
         0, 1, 0.5f, 0.75f);
    // Blades at the wing tips, up and down: the ship's silhouette from the chase camera.
    wing(sb, 1,
         {{-0.32f, 0.8f, -0.08f, -0.22f, 0.04f},
          {-0.02f, 0.83f, 0.1f, -0.25f, 0.06f},
          {0.44f, 0.8f, -0.1f, -0.22f, 0.035f}},
         0, 1, 0.5f, 0.75f);
    sb.mirrorX(half);
    return sb.toRaw(Identity, {0.13f + 0.1f, 0, 0}, 120.0f);
}

Mesh meshShield() {
    ShapeBuilder sb;
    // Ellipsoid round the ship, centred where the ship's hull is (x −0.1); drawn rotated −90° about x.
    std::vector<Section> secs;
    const int rings = 12;
    for (int i = 0; i <= rings; ++i) {
        const float phi = -Pi / 2 + Pi * (0.02f + 0.96f * i / rings);
        const float r = std::cos(phi);
        secs.push_back(ringZ(0.75f * std::sin(phi), -0.1f, 0, 1.0f * r, 0.55f * r, 2, 18, 0, 1,
                             static_cast<float>(i) / rings));
    }
    sb.loft(secs, true, true);
    return sb.toRaw(Rotation::about(-90, 1, 0, 0), {0, 0, 0}, 1.0f);
}

Mesh meshBandit2() {
    ShapeBuilder sb;
    // Slim dart, nose toward −z: delta wings bent down, canted twin fins and a ventral fin.
    body(sb,
         {{-0.9f, 0.0f, 0.02f, 0.02f},
          {-0.7f, 0.0f, 0.08f, 0.07f},
          {-0.4f, 0.0f, 0.14f, 0.12f},
          {0.0f, 0.0f, 0.16f, 0.14f},
          {0.5f, 0.0f, 0.14f, 0.12f},
          {0.8f, 0.0f, 0.1f, 0.09f}},
         0, 2.2f, 16, 0, 1, 0.0f, 0.5f);
    body(sb,
         {{-0.58f, 0.07f, 0.02f, 0.02f},
          {-0.45f, 0.1f, 0.07f, 0.07f},
          {-0.25f, 0.11f, 0.07f, 0.07f},
          {-0.1f, 0.09f, 0.04f, 0.04f}},
         0, 2, 12, 0.0f, 0.5f, 0.76f, 0.99f);
    body(sb, {{0.7f, 0.0f, 0.07f, 0.07f}, {0.9f, 0.0f, 0.09f, 0.09f}}, 0, 2, 12, 0.5f, 1.0f, 0.85f, 0.99f);
    wing(sb, 1, {{-0.1f, 0.0f, 0.35f, 0.78f, 0.04f}, {-0.42f, 0.0f, 0.62f, 0.8f, 0.02f}}, 0, 1, 0.5f, 0.75f);
    const int half = sb.size();
    wing(sb, 0,
         {{0.12f, 0.0f, -0.2f, 0.75f, 0.06f},
          {0.38f, -0.1f, 0.2f, 0.75f, 0.04f},
          {0.6f, -0.22f, 0.48f, 0.75f, 0.02f}},
         0, 1, 0.5f, 0.75f);
    wing(sb, 1, {{0.1f, 0.11f, 0.35f, 0.8f, 0.04f}, {0.5f, 0.25f, 0.65f, 0.82f, 0.02f}}, 0, 1, 0.5f, 0.75f);
    sb.mirrorX(half);
    const Rotation list =
        Rotation::about(90, 0, 1, 0).then(Rotation::about(90, 1, 0, 0)).then(Rotation::about(180, 0, 1, 0));
    return sb.toRaw(list, {0, 0.2f, 0}, 100.0f);
}

Mesh meshFighter2() {
    ShapeBuilder sb;
    // Twin-boom heavy fighter, nose toward −z: central pod, long straight wing, fins on both booms.
    body(sb,
         {{-1.0f, 0.0f, 0.03f, 0.03f},
          {-0.8f, 0.0f, 0.12f, 0.1f},
          {-0.45f, 0.0f, 0.2f, 0.18f},
          {0.0f, 0.0f, 0.22f, 0.2f},
          {0.3f, 0.0f, 0.15f, 0.14f}},
         0, 2.6f, 16, 0, 1, 0.0f, 0.5f);
    body(sb,
         {{-0.82f, 0.1f, 0.02f, 0.02f},
          {-0.65f, 0.15f, 0.1f, 0.09f},
          {-0.4f, 0.17f, 0.11f, 0.09f},
          {-0.2f, 0.14f, 0.06f, 0.05f}},
         0, 2, 12, 0.0f, 0.5f, 0.76f, 0.99f);
    const int half = sb.size();
    wing(sb, 0,
         {{0.15f, 0.0f, -0.2f, 0.25f, 0.08f},
          {0.55f, 0.0f, -0.12f, 0.22f, 0.06f},
          {1.0f, 0.03f, -0.05f, 0.18f, 0.03f}},
         0, 1, 0.5f, 0.75f);
    pod(sb, 0.55f, 0.0f, -0.45f, 0.96f, 0.1f);
    wing(sb, 1, {{0.05f, 0.55f, 0.55f, 0.95f, 0.05f}, {0.5f, 0.55f, 0.76f, 0.98f, 0.025f}}, 0, 1, 0.5f,
         0.75f);
    wing(sb, 1, {{-0.05f, 0.55f, 0.6f, 0.93f, 0.04f}, {-0.45f, 0.55f, 0.8f, 0.96f, 0.02f}}, 0, 1, 0.5f,
         0.75f);
    sb.mirrorX(half);
    return sb.toRaw(Rotation::about(180, 0, 1, 0), {0, 0, 0}, 0.5f, true);
}

Mesh meshShip1() {
    ShapeBuilder sb;
    // Heavy raider, nose toward −z: boxy hull, stub wings, two engines, dorsal fin and keel.
    body(sb,
         {{-0.9f, 0.0f, 0.06f, 0.05f},
          {-0.7f, 0.0f, 0.2f, 0.14f},
          {-0.3f, 0.0f, 0.3f, 0.2f},
          {0.3f, 0.0f, 0.32f, 0.22f},
          {0.75f, 0.0f, 0.28f, 0.2f},
          {0.88f, 0.0f, 0.22f, 0.16f}},
         0, 3.5f, 20, 0, 1, 0.0f, 0.5f);
    body(sb,
         {{-0.62f, 0.12f, 0.03f, 0.03f},
          {-0.5f, 0.17f, 0.12f, 0.09f},
          {-0.3f, 0.2f, 0.13f, 0.09f},
          {-0.15f, 0.17f, 0.08f, 0.05f}},
         0, 2.2f, 12, 0.0f, 0.5f, 0.76f, 0.99f);
    wing(sb, 1, {{0.15f, 0.0f, 0.1f, 0.7f, 0.06f}, {0.5f, 0.0f, 0.5f, 0.75f, 0.03f}}, 0, 1, 0.5f, 0.75f);
    wing(sb, 1, {{-0.15f, 0.0f, 0.2f, 0.65f, 0.06f}, {-0.48f, 0.0f, 0.5f, 0.7f, 0.03f}}, 0, 1, 0.5f, 0.75f);
    const int half = sb.size();
    wing(sb, 0, {{0.25f, -0.05f, -0.1f, 0.6f, 0.1f}, {0.5f, -0.1f, 0.2f, 0.55f, 0.05f}}, 0, 1, 0.5f, 0.75f);
    pod(sb, 0.18f, -0.05f, 0.5f, 0.95f, 0.1f);
    sb.mirrorX(half);
    const Rotation list = Rotation::about(90, 1, 0, 0).then(Rotation::about(190, 0, 1, 0));
    return sb.toRaw(list, {0, 0.2f, 0}, 100.0f);
}

Mesh meshCube() {
    ShapeBuilder sb;
    // Chamfered crate of edge 1: face quads (3 × 3 each), edge strips and corner triangles; every point
    // takes its texture coordinate from the face plane its polygon mostly faces.
    const float h = 0.5f, a = 0.44f;
    auto uvOf = [&](V3 p, V3 n, float& u, float& v) {
        const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        if (ax >= ay && ax >= az) {
            u = (n.x > 0 ? -p.z : p.z) / (2 * h) + 0.5f;
            v = -p.y / (2 * h) + 0.5f;
        } else if (ay >= az) {
            u = p.x / (2 * h) + 0.5f;
            v = (n.y > 0 ? p.z : -p.z) / (2 * h) + 0.5f;
        } else {
            u = (n.z > 0 ? p.x : -p.x) / (2 * h) + 0.5f;
            v = -p.y / (2 * h) + 0.5f;
        }
    };
    auto tri = [&](V3 p, V3 q, V3 r) {
        const V3 c{(p.x + q.x + r.x) / 3, (p.y + q.y + r.y) / 3, (p.z + q.z + r.z) / 3};
        float u[3], v[3];
        uvOf(p, c, u[0], v[0]);
        uvOf(q, c, u[1], v[1]);
        uvOf(r, c, u[2], v[2]);
        sb.triangle(p, q, r, u[0], v[0], u[1], v[1], u[2], v[2], c);
    };
    auto quad = [&](V3 p, V3 q, V3 r, V3 s) {
        tri(p, q, r);
        tri(p, r, s);
    };
    // Point with coordinate `n` along axis k and (s, t) along the other two.
    auto at = [](int k, float n, float s, float t) {
        if (k == 0)
            return V3{n, s, t};
        if (k == 1)
            return V3{t, n, s};
        return V3{s, t, n};
    };
    for (int k = 0; k < 3; ++k)
        for (float sign : {-1.0f, 1.0f}) {
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    const float s0 = -a + 2 * a * i / 3, s1 = -a + 2 * a * (i + 1) / 3;
                    const float t0 = -a + 2 * a * j / 3, t1 = -a + 2 * a * (j + 1) / 3;
                    quad(at(k, sign * h, s0, t0), at(k, sign * h, s1, t0), at(k, sign * h, s1, t1),
                         at(k, sign * h, s0, t1));
                }
        }
    // Edge strips: along axis k, at the corner of the two other axes.
    for (int k = 0; k < 3; ++k)
        for (float s1 : {-1.0f, 1.0f})
            for (float s2 : {-1.0f, 1.0f}) {
                auto p = [&](float along, float d1, float d2) {
                    float c[3];
                    c[k] = along;
                    c[(k + 1) % 3] = s1 * d1;
                    c[(k + 2) % 3] = s2 * d2;
                    return V3{c[0], c[1], c[2]};
                };
                quad(p(-a, h, a), p(a, h, a), p(a, a, h), p(-a, a, h));
            }
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f})
            for (float sz : {-1.0f, 1.0f})
                tri({sx * h, sy * a, sz * a}, {sx * a, sy * h, sz * a}, {sx * a, sy * a, sz * h});
    return sb.toRaw(Identity, {0, 0, 0}, 1.5f);
}

Mesh meshCapsule() {
    ShapeBuilder sb;
    // Pill of length 1.18 and radius 0.42 along x, built along z and turned; v runs from cap to cap.
    const float r = 0.42f, c = 0.17f;
    std::vector<Section> secs;
    const int capSteps = 6;
    std::vector<std::pair<float, float>> prof; // (z, radius)
    for (int i = 0; i <= capSteps; ++i) {
        const float phi = Pi / 2 * (0.97f - 0.97f * i / capSteps);
        prof.push_back({-c - r * std::sin(phi), r * std::cos(phi)});
    }
    for (int i = 0; i <= capSteps; ++i) {
        const float phi = Pi / 2 * (0.97f * i / capSteps);
        prof.push_back({c + r * std::sin(phi), r * std::cos(phi)});
    }
    const float z0 = prof.front().first, z1 = prof.back().first;
    for (auto [z, rad] : prof)
        secs.push_back(ringZ(z, 0, 0, rad, rad, 2, 20, 0, 1, (z - z0) / (z1 - z0)));
    sb.loft(secs, true, true);
    return sb.toRaw(Rotation::about(-90, 0, 1, 0), {0, 0, 0}, 1.0f, true);
}

Mesh meshMissile() {
    ShapeBuilder sb;
    // Slim missile 0.35 long, nose toward +z, four tail fins.
    body(sb,
         {{0.175f, 0.0f, 0.003f, 0.003f},
          {0.15f, 0.0f, 0.013f, 0.013f},
          {0.11f, 0.0f, 0.022f, 0.022f},
          {-0.15f, 0.0f, 0.022f, 0.022f},
          {-0.175f, 0.0f, 0.017f, 0.017f}},
         0, 2, 12, 0, 1, 0.0f, 0.5f);
    const int half = sb.size();
    wing(sb, 0, {{0.015f, 0.0f, -0.09f, -0.17f, 0.006f}, {0.06f, 0.0f, -0.14f, -0.17f, 0.004f}}, 0, 1, 0.5f,
         0.75f);
    sb.mirrorX(half);
    wing(sb, 1, {{0.015f, 0.0f, -0.09f, -0.17f, 0.006f}, {0.06f, 0.0f, -0.14f, -0.17f, 0.004f}}, 0, 1, 0.5f,
         0.75f);
    wing(sb, 1, {{-0.015f, 0.0f, -0.09f, -0.17f, 0.006f}, {-0.06f, 0.0f, -0.14f, -0.17f, 0.004f}}, 0, 1, 0.5f,
         0.75f);
    return sb.toRaw(Identity, {0, 0, 0}, 800.0f);
}
