#pragma once
// Internal to the STL reader: the ASCII form.
//
//   solid [name]
//     facet normal nx ny nz
//       outer loop
//         vertex x y z      (three times)
//       endloop
//     endfacet              (any number of facets)
//   endsolid [name]         (several solids may follow each other)
//
// Keywords are matched without regard to case, as exporters differ there.
#include "host/mesh/Implementation/StlCorner.h"

#include <span>
#include <string>
#include <vector>

namespace stl_detail {

// Appends three corners per facet. Returns false with `syntaxError` ("line 7: ...") when
// the text is not ASCII STL; throws StlProblem when it is, but a coordinate is unusable.
bool ParseAsciiStl(std::span<const char> text, std::vector<Corner>& corners, std::string& syntaxError);

}  // namespace stl_detail
