#pragma once

struct Mesh;

// Emits a prepared mesh as independent triangles from vertex arrays, meant to be called between
// glNewList and glEndList: positions always, normals and texture coordinates when textured is set.
// The client-array calls are not recorded in the list: they act at once, while it compiles, and the
// list keeps only the triangles glDrawArrays read then; the arrays are off again on return.
void drawMeshArrays(const Mesh& mesh, bool textured);
// Deletes `count` lists from oldBase when it is non-zero (a rebuild after a video-mode change) and
// returns `count` fresh consecutive list names.
unsigned int renewLists(unsigned int oldBase, int count);
