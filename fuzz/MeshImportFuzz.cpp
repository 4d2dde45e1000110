// Feeds arbitrary bytes to the mesh importer through a file, as vistal-render does: every
// format it tells by content (STL, OBJ, PLY). Anything but a mesh or an MStlReadError is
// a fault, the importer's library included: the PLY layout check must keep it within
// the bytes.
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlImport.h"
#include "host/mesh/MStlTraversal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

char g_scratch[] = "/tmp/vistal-import-fuzz-XXXXXX";

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

// Assimp 5.2 leaks a little on some malformed OBJ files (objects it made before it gave
// up); that is its fault to fix, not ours, so leaks allocated within it are not reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ScratchPath();
  std::FILE* f = std::fopen(path, "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

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
