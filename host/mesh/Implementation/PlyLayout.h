#pragma once
// Internal to the mesh importer: the layout check of PLY files.
#include <span>

namespace stl_detail {

// Checks that a PLY file's header is well formed and that its body holds every element
// the header announces, before the importer reads it: the importer reads past the end of
// a cut binary body, and fills a cut ASCII body up with values of its own. Throws
// StlProblem saying what is wrong.
void CheckPlyLayout(std::span<const char> bytes);

}  // namespace stl_detail
