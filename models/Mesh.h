#pragma once

#include <vector>

// A static triangle mesh: vertices of eight floats (position x, y, z, normal x, y, z, texture u, v),
// drawn as independent triangles.
struct Mesh {
    static constexpr int Stride = 8;

    std::vector<float> data;

    int vertexCount() const { return static_cast<int>(data.size()) / Stride; }
    int triangleCount() const { return vertexCount() / 3; }
    float* vertex(int i) { return data.data() + i * Stride; }
    const float* vertex(int i) const { return data.data() + i * Stride; }
};

// Every vertex gets the average normal of all vertices closer than 0.01 in each axis to the first
// vertex of its group (smooth shading across duplicated vertices); the average is not renormalised.
void smoothNormals(Mesh& mesh);
void scalePositions(Mesh& mesh, float divisor);
// Replaces every texture v by 1 − v.
void flipTextureV(Mesh& mesh);
