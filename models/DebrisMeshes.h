#pragma once

struct Mesh;

// Debris pieces borrow the texture coordinates of the exploded object's prepared mesh. Each class
// registers its mesh when it builds its models; the debris looks it up by the source's kind.
void registerDebrisMesh(int kind, const Mesh* mesh);
const Mesh* debrisMesh(int kind);
