#include "models/Mesh.h"

#include <cmath>

namespace {

bool closeTo(const float* a, const float* b) {
    return std::fabs(a[0] - b[0]) < 0.01f && std::fabs(a[1] - b[1]) < 0.01f && std::fabs(a[2] - b[2]) < 0.01f;
}

} // namespace

void smoothNormals(Mesh& mesh) {
    const int n = mesh.vertexCount();
    std::vector<bool> visited(n, false);
    std::vector<int> group;
    for (int i = 0; i < n; ++i) {
        if (visited[i])
            continue;
        group.clear();
        group.push_back(i);
        for (int j = i + 1; j < n; ++j)
            if (!visited[j] && closeTo(mesh.vertex(i), mesh.vertex(j)))
                group.push_back(j);
        float sum[3] = {0, 0, 0};
        for (int k : group)
            for (int a = 0; a < 3; ++a)
                sum[a] += mesh.vertex(k)[3 + a];
        const float count = static_cast<float>(group.size());
        for (int k : group) {
            visited[k] = true;
            for (int a = 0; a < 3; ++a)
                mesh.vertex(k)[3 + a] = sum[a] / count;
        }
    }
}

void scalePositions(Mesh& mesh, float divisor) {
    for (int i = 0; i < mesh.vertexCount(); ++i)
        for (int a = 0; a < 3; ++a)
            mesh.vertex(i)[a] /= divisor;
}

void flipTextureV(Mesh& mesh) {
    for (int i = 0; i < mesh.vertexCount(); ++i)
        mesh.vertex(i)[7] = 1.0f - mesh.vertex(i)[7];
}
