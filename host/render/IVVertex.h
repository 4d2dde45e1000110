#pragma once
// The render library's vertex types. Their layouts are part of the contract with the
// containers that fill them and the backends that upload them as they are.
#include <cstddef>
#include <cstdint>

struct IVVertexP {
  float x, y, z;
};

struct IVVertexPN {
  float x, y, z;
  float nx, ny, nz;
};

struct IVVertexPNT {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};

struct IVVertexPNC {
  float x, y, z;
  float nx, ny, nz;
  std::uint8_t r, g, b, a;
};

static_assert(sizeof(IVVertexP) == 12);
static_assert(sizeof(IVVertexPN) == 24 && offsetof(IVVertexPN, nx) == 12);
static_assert(sizeof(IVVertexPNT) == 32 && offsetof(IVVertexPNT, nx) == 12 && offsetof(IVVertexPNT, u) == 24);
static_assert(sizeof(IVVertexPNC) == 28 && offsetof(IVVertexPNC, nx) == 12 && offsetof(IVVertexPNC, r) == 24 &&
              offsetof(IVVertexPNC, a) == 27);

// How a backend finds the parts of a vertex: byte offsets, -1 where a vertex has no such part.
struct IVVertexLayout {
  unsigned stride;
  int normal;
  int texcoord;
  int colour;
};

// A function rather than a static constant: class-template constants become unique
// symbols that keep a shared library from unloading.
template <typename V>
constexpr IVVertexLayout IVVertexLayoutOf();
template <>
constexpr IVVertexLayout IVVertexLayoutOf<IVVertexP>() {
  return {sizeof(IVVertexP), -1, -1, -1};
}
template <>
constexpr IVVertexLayout IVVertexLayoutOf<IVVertexPN>() {
  return {sizeof(IVVertexPN), offsetof(IVVertexPN, nx), -1, -1};
}
template <>
constexpr IVVertexLayout IVVertexLayoutOf<IVVertexPNT>() {
  return {sizeof(IVVertexPNT), offsetof(IVVertexPNT, nx), offsetof(IVVertexPNT, u), -1};
}
template <>
constexpr IVVertexLayout IVVertexLayoutOf<IVVertexPNC>() {
  return {sizeof(IVVertexPNC), offsetof(IVVertexPNC, nx), -1, offsetof(IVVertexPNC, r)};
}
