#pragma once
// Reading a mesh from a file of any format that scanners and modelling programs commonly
// write: binary or ASCII STL, Wavefront OBJ, PLY (ASCII or binary).
//
// The format is told by the content (a PLY header, a binary STL's size, an OBJ's
// statements, "solid"), so a misnamed file still reads; the name decides only which
// complaint a file that is nothing recognisable gets (a broken ".stl" gets the STL
// reader's). Every format reads as STL does (see MStlReader.h): coordinates in
// millimetres, converted to integer units and bounded the same way, corners with the same
// integer coordinates welded into one point, normals computed from the winding. The same
// triangles stored in any of the formats read to the same mesh. Only triangles are kept:
// polygons are split into fans, points and lines are dropped, materials, colours and
// texture coordinates are ignored, and no other file (an OBJ's material library) is read.
//
// As with ReadStl, a closed mesh whose triangles face inward is turned outward (see
// MStlOrientation.h); an open mesh keeps its winding.
#include "host/HostApi.h"
#include "host/mesh/MStlReader.h"

#include <cstdint>
#include <memory>
#include <string>

class MStlBase;

// Reads a whole file, or throws MStlReadError naming the file, with one line saying what
// is wrong: never a partial mesh. The checks of ReadStl hold for every format (regular
// files only, of at most maxBytes).
VISTAL_HOST_API std::unique_ptr<MStlBase> ImportMesh(const std::string& path,
                                                     std::uint64_t maxBytes = kStlMaxFileBytes);
