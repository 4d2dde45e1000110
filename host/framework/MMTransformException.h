#pragma once
// The one exception of the transform classes, thrown by value.
#include "host/HostApi.h"

// Exported so that its type information is shared and a catch in another module matches.
struct VISTAL_HOST_API MMTransformException {
  enum : int {
    eZeroWeight = 0,  // a projective mapping met a homogeneous weight of exactly zero
    eNotMapped = 4,   // a throwing convenience mapping was told the point does not map
  };
  int code = eZeroWeight;
};
