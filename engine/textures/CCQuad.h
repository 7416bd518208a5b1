#pragma once

// The textured quad: every textured rectangle (sprites, atlases, tiles, characters, particles)
// is one 96-byte record of four vertices in the order top-left, bottom-left, top-right,
// bottom-right, drawn as the triangles (0, 1, 2) and (3, 2, 1).

#include "engine/nodes/CCProtocols.h"

namespace kvengine {

/// A position in pixels.
struct ccVertex3F {
    float x = 0, y = 0, z = 0;
};

/// Texture coordinates, 0 to 1 across the texture (s to the right, t downwards in the picture).
struct ccTex2F {
    float u = 0, v = 0;
};

/// One vertex: position, colour, texture coordinates; 24 bytes, the stride of the GL arrays.
struct ccV3F_C4B_T2F {
    ccVertex3F vertices;
    ccColor4B colors;
    ccTex2F texCoords;
};

/// Four vertices: top-left, bottom-left, top-right, bottom-right.
struct ccV3F_C4B_T2F_Quad {
    ccV3F_C4B_T2F tl;
    ccV3F_C4B_T2F bl;
    ccV3F_C4B_T2F tr;
    ccV3F_C4B_T2F br;
};

static_assert(sizeof(ccV3F_C4B_T2F) == 24, "a quad vertex is 24 bytes, the GL stride");
static_assert(sizeof(ccV3F_C4B_T2F_Quad) == 96, "a quad is 96 bytes");

} // namespace kvengine
