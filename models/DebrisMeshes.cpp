#include "models/DebrisMeshes.h"

#include <map>

namespace {

std::map<int, const Mesh*>& registry() {
    static std::map<int, const Mesh*> meshes;
    return meshes;
}

} // namespace

void registerDebrisMesh(int kind, const Mesh* mesh) {
    registry()[kind] = mesh;
}

const Mesh* debrisMesh(int kind) {
    const auto it = registry().find(kind);
    return it == registry().end() ? nullptr : it->second;
}
