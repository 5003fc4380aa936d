#pragma once

// The published OpenGL and GLU headers, included for their declarations only:
// the table's slot types are taken from them.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
