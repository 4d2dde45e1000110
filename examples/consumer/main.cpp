// Uses the library through its umbrella header only.
#include <vistal/vistal.h>

#include <cstdio>

int main() {
  const ZelLibraryVersion& v = Vistal_XX_xx_00_00::__g_version;
  std::printf("%ls %ls.%ls\n", v.module, v.major, v.minor);
  return 0;
}
