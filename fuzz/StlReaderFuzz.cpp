// Feeds arbitrary bytes to the STL reader through a file, as a host would. Anything but a
// mesh or an MStlReadError is a fault; so is a mesh whose count and traversal disagree.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlReader.h"
#include "host/mesh/MStlTraversal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

// One scratch file per process, removed at exit. A plain array, so that it is still there
// when the exit handler runs.
char g_scratch[] = "/tmp/vistal-stl-fuzz-XXXXXX";

const char* ScratchPath() {
  static const bool made = [] {
    const int fd = ::mkstemp(g_scratch);
    if (fd < 0) std::abort();
    ::close(fd);
    std::atexit([] { ::unlink(g_scratch); });
    return true;
  }();
  (void)made;
  return g_scratch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ScratchPath();
  std::FILE* f = std::fopen(path, "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

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
