#pragma once
// The mesh triangle traversal: the one order in which every consumer (transparency
// sort, vertex containers, textures, compact array, writers) visits a mesh's triangles.
// A feature's surfaces in index order, each surface's list front to back, then its
// sub-features in index order, each depth first before its next sibling. A mesh without
// a root feature has no triangles; empty surfaces contribute nothing.
//
// Header-only and templated on the visitor so that the loop inlines: a pass over a
// million triangles is then bound by memory, not by calls.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlFeature.h"
#include "host/mesh/MStlSurface.h"
#include "host/mesh/MStlTriangle.h"

// Calls f(const MStlTriangle&) for every triangle of the feature's subtree.
template <typename F>
inline void ForEachTriangle(const MStlFeature& feature, F&& f) {
  const unsigned numSurfaces = feature.GetNumSurfaces(false);
  for (unsigned s = 0; s < numSurfaces; ++s)
    for (const MStlTriangle* t = feature.GetSurface(s)->first; t; t = t->next) f(*t);
  const unsigned numFeatures = feature.GetNumFeatures(false);
  for (unsigned i = 0; i < numFeatures; ++i) ForEachTriangle(*feature.GetFeature(i), f);
}

// Calls f(const MStlTriangle&) for every triangle of the mesh, in traversal order.
template <typename F>
inline void ForEachTriangle(const MStlBase& mesh, F&& f) {
  if (const MStlFeature* root = mesh.GetRootFeature()) ForEachTriangle(*root, f);
}
