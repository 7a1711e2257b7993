#include "models/MeshList.h"

#include "models/Mesh.h"

#include <GL/gl.h>

void drawMeshArrays(const Mesh& mesh, MeshArrays arrays) {
    if (mesh.vertexCount() == 0)
        return;
    constexpr int stride = Mesh::Stride * sizeof(float);
    const float* base = mesh.data.data();
    const bool normals = arrays != MeshArrays::Positions;
    const bool texture = arrays == MeshArrays::Textured;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, base);
    if (normals) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, stride, base + 3);
    }
    if (texture) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, base + 6);
    }
    glDrawArrays(GL_TRIANGLES, 0, mesh.triangleCount() * 3);
    if (texture)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (normals)
        glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

unsigned int renewLists(unsigned int oldBase, int count) {
    if (oldBase != 0)
        glDeleteLists(oldBase, count);
    return glGenLists(count);
}
