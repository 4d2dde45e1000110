// vistal-render: renders clipped and transparent meshes to a PNG file.
#include "vistal/frame/Version.h"

#include <cstdio>

int main() {
  const ZelLibraryVersion& v = Vistal_XX_xx_00_00::__g_version;
  std::printf("%ls %ls.%ls.%ls.%ls built %ls\n%ls\n", v.module, v.major, v.minor, v.third, v.fourth,
              v.timestamp, Vistal_XX_xx_00_00::__g_zellibrary_info);
  return 0;
}
