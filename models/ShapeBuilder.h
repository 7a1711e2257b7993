#pragma once

#include "models/Mesh.h"

#include <vector>

// A point or direction of the model builders.
struct V3 {
    float x = 0, y = 0, z = 0;
};

// 3 × 3 rotation with the model's list transforms (degrees about one axis, composed in list order).
struct Rotation {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    static Rotation about(float degrees, float ax, float ay, float az);
    Rotation then(const Rotation& inner) const; // this × inner: inner applies to the vertex first
    V3 apply(V3 p) const;
    V3 applyInverse(V3 p) const;
};

// One section of a lofted part: its points with their texture coordinates. The first and last points
// coincide in position when the section is closed (texture seam).
struct Section {
    std::vector<V3> points;
    std::vector<float> u;
    float v = 0;
};

// Collects outward-facing triangles with face normals, built in the game's world frame, and hands them
// over in the raw units of a model's pipeline.
class ShapeBuilder {
public:
    // Adds a triangle, wound counter-clockwise seen from the side `outward` points to.
    void triangle(V3 a, V3 b, V3 c, float ua, float va, float ub, float vb, float uc, float vc, V3 outward);
    // Skins consecutive sections; each quad faces away from the axis through the sections' centres.
    // Caps close the first and the last section with a fan.
    void loft(const std::vector<Section>& sections, bool capFirst, bool capLast);
    // Adds the mirror image (x → −x) of everything added since `mark`.
    void mirrorX(int mark);
    int size() const { return static_cast<int>(world.data.size()); }

    // raw = scale × R⁻¹ (world − offset); normals turn with R⁻¹.
    Mesh toRaw(const Rotation& r, V3 offset, float scale, bool flipV = false) const;

private:
    Mesh world;
};

// Section makers.
// Superellipse round the z axis at depth z: half width a, half height b, exponent e (2 = ellipse, larger =
// boxier); u runs from the belly (u0) over the top (midway) back to the belly (u1).
Section ringZ(float z, float cx, float cy, float a, float b, float e, int n, float u0, float u1, float v);
// Wing section at span position `s` along x (axis 0) or y (axis 1): chord from `lead` to `trail` in z,
// thickness `t`, centre offset `h` across the span plane; u0 … u1 round the section (upper face first).
Section airfoil(int axis, float s, float h, float lead, float trail, float t, int n, float u0, float u1,
                float v);
