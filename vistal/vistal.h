#pragma once
// Umbrella header: every exported class of Vistal and the host declarations it needs.
#include "vistal/Api.h"
#include "vistal/frame/Version.h"
