// Feeds arbitrary bytes to the mesh importer through a file, as vistal-render does: every
// format it tells by content (STL, OBJ, PLY). Anything but a mesh or an MStlReadError is
// a fault, the importer's library included: the PLY layout check must keep it within
// the bytes.
#include "FuzzSupport.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlImport.h"
#include "host/mesh/MStlTraversal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Assimp 5.2 leaks a little on some malformed OBJ files (objects it made before it gave
// up); that is its fault to fix, not ours, so leaks allocated within it are not reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = FuzzWriteScratchFile(data, size);

  try {
    const auto mesh = ImportMesh(path);
    std::uint32_t visited = 0;
    ForEachTriangle(*mesh, [&](const MStlTriangle& t) {
      for (const MStlPoint* p : t.points)
        if (!p) __builtin_trap();
      ++visited;
    });
    if (visited != mesh->GetNumTriangles()) __builtin_trap();
  } catch (const MStlReadError&) {
  }
  return 0;
}
