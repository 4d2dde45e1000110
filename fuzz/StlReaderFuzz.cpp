// Feeds arbitrary bytes to the STL reader through a file, as a host would. Anything but a
// mesh or an MStlReadError is a fault; so is a mesh whose count and traversal disagree.
#include "FuzzSupport.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlReader.h"
#include "host/mesh/MStlTraversal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = FuzzWriteScratchFile(data, size);

  try {
    const auto mesh = ReadStl(path);
    std::uint32_t visited = 0;
    ForEachTriangle(*mesh, [&](const MStlTriangle& t) {
      for (const MStlPoint* p : t.points)
        if (!p) __builtin_trap();
      ++visited;
    });
    if (visited != mesh->GetNumTriangles() || mesh->GetCompactTriangleArray().GetCount() != visited)
      __builtin_trap();
  } catch (const MStlReadError&) {
  }
  return 0;
}
