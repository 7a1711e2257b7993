#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// True when name is a whole word of the space-separated extension list.
bool hasExtension(const char* name, const char* extensions);
// The same against the current context's GL_EXTENSIONS.
bool hasExtension(const char* name);

// The two multitexture entry points of the two-texture floor, looked up when the World sets up GL;
// null when the driver has none (the floor then uses one texture).
using ActiveTextureProc = void(APIENTRYP)(GLenum unit);
using MultiTexCoord2fProc = void(APIENTRYP)(GLenum unit, GLfloat s, GLfloat t);
extern ActiveTextureProc activeTextureFn;
extern MultiTexCoord2fProc multiTexCoord2fFn;
