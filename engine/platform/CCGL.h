#pragma once
// The one header through which engine code reaches OpenGL and GLU.
//
// The engine draws with the OpenGL 1.x fixed-function pipeline (client arrays, matrix stacks,
// glOrtho/gluPerspective), which a 2.1 compatibility context provides. Keeping the include here
// means the loader and version choice live in one place; nothing else includes GL headers.

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glu.h>
