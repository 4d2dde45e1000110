#pragma once
// The slot of a mesh element (point, triangle or surface) in every data mask of its mesh.
// Points, triangles and surfaces derive from it so that masks read the slot the same way
// for every element kind.
#include "host/HostApi.h"

class VISTAL_HOST_API MDataMaskIndex {
public:
  constexpr MDataMaskIndex() = default;
  constexpr MDataMaskIndex(const MDataMaskIndex&) = default;
  constexpr MDataMaskIndex& operator=(const MDataMaskIndex&) = default;

  constexpr bool operator==(const MDataMaskIndex& o) const { return index == o.index; }

  // The owner renumbers elements that it hands out as constant, hence const and mutable.
  constexpr void SetMaskIndex(unsigned i) const { index = i; }
  constexpr unsigned GetMaskIndex() const { return index; }

private:
  mutable unsigned index = 0;
};
