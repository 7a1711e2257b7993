#pragma once

struct Mesh;

// Which vertex arrays a mesh is drawn with: positions always, then normals, then texture coordinates.
enum class MeshArrays { Positions, WithNormals, Textured };

// Emits a prepared mesh as independent triangles from vertex arrays, meant to be called between
// glNewList and glEndList. The client-state switches are not compiled into the list: they act at once
// and are all off again on return; the list holds only the triangles the arrays pointed at.
void drawMeshArrays(const Mesh& mesh, MeshArrays arrays);
// Deletes `count` lists from oldBase when it is non-zero (a rebuild after a video-mode change) and
// returns `count` fresh consecutive list names.
unsigned int renewLists(unsigned int oldBase, int count);
