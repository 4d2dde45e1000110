#pragma once
// The two mesh container bases that Vistal's mesh containers derive from, instantiated
// and exported here once, so that every module that uses them shares one copy of their
// type information and virtual tables.
#include "host/render/IVVertexContainerSTLData.h"
#include "vistal/Api.h"

extern template class VISTAL_API IVVertexContainerSTLData<IVVertexPN>;
extern template class VISTAL_API IVVertexContainerSTLData<IVVertexPNT>;
