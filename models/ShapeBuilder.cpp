#include "models/ShapeBuilder.h"

#include "models/Angles.h"

#include <algorithm>
#include <cmath>

namespace {

V3 sub(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

V3 centroid(const std::vector<V3>& pts) {
    V3 c;
    // The closing point repeats the first one; leave it out of the average.
    const size_t n = pts.size() > 2 ? pts.size() - 1 : pts.size();
    for (size_t i = 0; i < n; ++i) {
        c.x += pts[i].x;
        c.y += pts[i].y;
        c.z += pts[i].z;
    }
    return {c.x / n, c.y / n, c.z / n};
}

float signedPow(float v, float p) {
    return v < 0 ? -std::pow(-v, p) : std::pow(v, p);
}

} // namespace

Rotation Rotation::about(float degrees, float ax, float ay, float az) {
    const float a = radians(degrees), c = std::cos(a), s = std::sin(a), t = 1 - c;
    Rotation r;
    r.m[0] = t * ax * ax + c;
    r.m[1] = t * ax * ay - s * az;
    r.m[2] = t * ax * az + s * ay;
    r.m[3] = t * ax * ay + s * az;
    r.m[4] = t * ay * ay + c;
    r.m[5] = t * ay * az - s * ax;
    r.m[6] = t * ax * az - s * ay;
    r.m[7] = t * ay * az + s * ax;
    r.m[8] = t * az * az + c;
    return r;
}

Rotation Rotation::then(const Rotation& inner) const {
    Rotation r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            float sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += m[i * 3 + k] * inner.m[k * 3 + j];
            r.m[i * 3 + j] = sum;
        }
    return r;
}

V3 Rotation::apply(V3 p) const {
    return {m[0] * p.x + m[1] * p.y + m[2] * p.z, m[3] * p.x + m[4] * p.y + m[5] * p.z,
            m[6] * p.x + m[7] * p.y + m[8] * p.z};
}

V3 Rotation::applyInverse(V3 p) const {
    return {m[0] * p.x + m[3] * p.y + m[6] * p.z, m[1] * p.x + m[4] * p.y + m[7] * p.z,
            m[2] * p.x + m[5] * p.y + m[8] * p.z};
}

void ShapeBuilder::triangle(V3 a, V3 b, V3 c, float ua, float va, float ub, float vb, float uc, float vc,
                            V3 outward) {
    V3 n = cross(sub(b, a), sub(c, a));
    const float len = std::sqrt(dot(n, n));
    if (len < 1e-7f)
        return; // no area, nothing to draw
    n = {n.x / len, n.y / len, n.z / len};
    if (dot(n, outward) < 0) {
        std::swap(b, c);
        std::swap(ub, uc);
        std::swap(vb, vc);
        n = {-n.x, -n.y, -n.z};
    }
    const float vs[3][5] = {{a.x, a.y, a.z, ua, va}, {b.x, b.y, b.z, ub, vb}, {c.x, c.y, c.z, uc, vc}};
    for (const auto& v : vs) {
        world.data.insert(world.data.end(), {v[0], v[1], v[2], n.x, n.y, n.z, v[3], v[4]});
    }
}

void ShapeBuilder::loft(const std::vector<Section>& sections, bool capFirst, bool capLast) {
    for (size_t s = 0; s + 1 < sections.size(); ++s) {
        const Section& A = sections[s];
        const Section& B = sections[s + 1];
        const V3 ca = centroid(A.points), cb = centroid(B.points);
        const size_t n = std::min(A.points.size(), B.points.size());
        for (size_t i = 0; i + 1 < n; ++i) {
            const V3 mid{(A.points[i].x + B.points[i + 1].x) / 2, (A.points[i].y + B.points[i + 1].y) / 2,
                         (A.points[i].z + B.points[i + 1].z) / 2};
            const V3 axis{(ca.x + cb.x) / 2, (ca.y + cb.y) / 2, (ca.z + cb.z) / 2};
            const V3 out = sub(mid, axis);
            triangle(A.points[i], B.points[i], B.points[i + 1], A.u[i], A.v, B.u[i], B.v, B.u[i + 1], B.v,
                     out);
            triangle(A.points[i], B.points[i + 1], A.points[i + 1], A.u[i], A.v, B.u[i + 1], B.v, A.u[i + 1],
                     A.v, out);
        }
    }
    auto cap = [&](const Section& S, const Section& next) {
        const V3 c = centroid(S.points);
        const V3 out = sub(c, centroid(next.points));
        float um = 0;
        for (float u : S.u)
            um += u;
        um /= S.u.size();
        for (size_t i = 0; i + 1 < S.points.size(); ++i)
            triangle(c, S.points[i], S.points[i + 1], um, S.v, S.u[i], S.v, S.u[i + 1], S.v, out);
    };
    if (sections.size() >= 2) {
        if (capFirst)
            cap(sections.front(), sections[1]);
        if (capLast)
            cap(sections.back(), sections[sections.size() - 2]);
    }
}

void ShapeBuilder::mirrorX(int mark) {
    const int end = size();
    world.data.reserve(world.data.size() + (end - mark)); // the copies read from the same buffer
    for (int i = mark; i < end; i += 3 * Mesh::Stride) {
        // Mirroring flips the winding: swap the second and third vertex.
        const int order[3] = {0, 2, 1};
        for (int k : order) {
            const float* v = world.data.data() + i + k * Mesh::Stride;
            const float copy[8] = {-v[0], v[1], v[2], -v[3], v[4], v[5], v[6], v[7]};
            world.data.insert(world.data.end(), copy, copy + 8);
        }
    }
}

Mesh ShapeBuilder::toRaw(const Rotation& r, V3 offset, float scale, bool flipV) const {
    Mesh out;
    out.data.reserve(world.data.size());
    for (int i = 0; i < world.vertexCount(); ++i) {
        const float* v = world.vertex(i);
        const V3 p = r.applyInverse({v[0] - offset.x, v[1] - offset.y, v[2] - offset.z});
        const V3 n = r.applyInverse({v[3], v[4], v[5]});
        out.data.insert(out.data.end(), {p.x * scale, p.y * scale, p.z * scale, n.x, n.y, n.z, v[6],
                                         flipV ? 1 - v[7] : v[7]});
    }
    return out;
}

Section ringZ(float z, float cx, float cy, float a, float b, float e, int n, float u0, float u1, float v) {
    Section s;
    s.v = v;
    for (int i = 0; i <= n; ++i) {
        const float t = static_cast<float>(i % n) / n * 2 * Pi;
        const float p = 2.0f / e;
        s.points.push_back({cx + a * signedPow(std::sin(t), p), cy - b * signedPow(std::cos(t), p), z});
        s.u.push_back(u0 + (u1 - u0) * i / n);
    }
    return s;
}

Section airfoil(int axis, float s, float h, float lead, float trail, float t, int n, float u0, float u1,
                float v) {
    Section sec;
    sec.v = v;
    const int half = n / 2;
    for (int i = 0; i <= n; ++i) {
        const int k = i % n;
        // Upper face from the trailing edge to the leading edge, then the lower face back.
        const bool upper = k <= half;
        const float f = upper ? static_cast<float>(k) / half : static_cast<float>(n - k) / (n - half);
        const float z = trail + (lead - trail) * f;
        // Thickest a third back from the leading edge, blunt at both edges.
        const float shape = 0.15f + 0.85f * std::pow(std::max(0.0f, std::sin(Pi * std::pow(f, 0.8f))), 0.7f);
        const float off = (upper ? 1 : -1) * t * 0.5f * shape;
        sec.points.push_back(axis == 0 ? V3{s, h + off, z} : V3{h + off, s, z});
        sec.u.push_back(u0 + (u1 - u0) * i / n);
    }
    return sec;
}
