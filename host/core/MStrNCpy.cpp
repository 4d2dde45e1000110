#include "host/core/MStrNCpy.h"

namespace {

template <typename Char>
Char* CopyTerminated(Char* destination, const Char* source, std::size_t count) {
  if (!destination || count == 0) return destination;
  std::size_t i = 0;
  if (source)
    for (; i + 1 < count && source[i] != Char(0); ++i) destination[i] = source[i];
  destination[i] = Char(0);
  return destination;
}

}  // namespace

wchar_t* MStrNCpy(wchar_t* destination, const wchar_t* source, std::size_t count) {
  return CopyTerminated(destination, source, count);
}

char* MStrNCpy(char* destination, const char* source, std::size_t count) {
  return CopyTerminated(destination, source, count);
}
