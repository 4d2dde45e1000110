#pragma once
// Whether a mesh closes around a volume, and which way its triangles face.
//
// Triangles face the side from which they wind counter-clockwise. A closed mesh whose
// triangles face inward is drawn inside out (lit from within, culled from without), so
// the readers turn such meshes outward as they read them; an open mesh (a scanned
// surface, a shell with holes) has no inside to tell, so it keeps its winding and is
// drawn from both sides.
#include "host/HostApi.h"

class MStlBase;

// True when every edge of the mesh is shared by exactly two triangles that run along it
// in opposite directions: the triangles bound a volume and agree about which side is
// out. Triangles with a repeated point have no area and are left out; a mesh without
// other triangles is open.
VISTAL_HOST_API bool IsClosedMesh(const MStlBase& mesh);

// The volume the triangles enclose in cubic scene units (mm^3): positive when they face
// outward, negative when they face inward. Meaningful for closed meshes; for an open
// mesh it is the volume of the cone its triangles span to its first point.
VISTAL_HOST_API double SignedVolume(const MStlBase& mesh);

// Turns a closed mesh whose triangles face inward (negative volume) outward: every
// triangle's winding and normal are reversed. Other meshes are left as they are.
// Answers whether the mesh was turned.
VISTAL_HOST_API bool OrientOutward(MStlBase& mesh);
