#include "host/core/QNGlobals.h"

std::uint32_t QNGlobals::mg_statesflags = 0;
