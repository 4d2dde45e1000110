#include "vistal/containers/Implementation/IVTwoPartWork.h"

bool IVShouldRunInTwoParts(std::size_t n) {
  constexpr std::size_t kMinItems = 1 << 16;
  // Asked once: the answer comes from the system and does not change.
  static const bool secondCore = std::thread::hardware_concurrency() > 1;
  return secondCore && n >= kMinItems;
}
