#pragma once
// The host application's global state.
#include "host/HostApi.h"

#include <cstdint>

class VISTAL_HOST_API QNGlobals {
public:
  // Bits of mg_statesflags.
  enum EStatesFlags : std::uint32_t {
    eStatePrintableOutput = 0x1,  // drawing for print or export rather than the screen
    eStatePrintInColour = 0x4,    // printable output keeps its colours (else greys)
  };

  // Screen output by default.
  static std::uint32_t mg_statesflags;
};
