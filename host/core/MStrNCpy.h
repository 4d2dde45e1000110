#pragma once
// String copies of the host core library that never overrun their destination.
#include "host/HostApi.h"

#include <cstddef>

// Copies source into destination, at most `count` characters including the terminating
// zero: a longer source is cut and the result is always terminated. A null source copies
// as the empty string; a null destination or a count of 0 writes nothing. Returns
// destination.
VISTAL_HOST_API wchar_t* MStrNCpy(wchar_t* destination, const wchar_t* source, std::size_t count);
VISTAL_HOST_API char* MStrNCpy(char* destination, const char* source, std::size_t count);
