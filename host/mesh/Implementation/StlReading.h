#pragma once
// Internal to the mesh readers: the pieces of the STL reader that the importer of other
// formats shares.
#include "host/mesh/Implementation/StlPointWelder.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class MStlBase;

namespace stl_detail {

class MeshFile;

// What is read of a file before its format is chosen.
inline constexpr std::size_t kHeadBytes = std::size_t(64) << 10;

// Whether text starts with "solid" (after white space, in any case), as ASCII STL does.
bool StartsWithSolid(std::span<const char> bytes);

// Whether a file of `size` bytes that starts with `head` (at least its first 84 bytes, or
// the whole file) is binary STL: its size is the one its triangle count gives, and it
// does not claim to be ASCII, or holds NUL bytes, which text never does.
bool IsBinaryStl(std::span<const char> head, std::uint64_t size);

// Reads a binary STL file on from `head`, the bytes already read, welding its corners a
// piece at a time, so that the file is never held whole. Throws StlProblem or
// MStlReadError.
std::unique_ptr<MStlBase> ReadBinaryStl(MeshFile& file, std::span<const char> head);

// One surface under the root feature with the welded corners' triangles.
std::unique_ptr<MStlBase> BuildWelded(CornerWelder& welder);

}  // namespace stl_detail
