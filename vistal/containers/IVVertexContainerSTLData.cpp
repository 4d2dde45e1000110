#include "vistal/containers/IVVertexContainerSTLData.h"

template class IVVertexContainerSTLData<IVVertexPN>;
template class IVVertexContainerSTLData<IVVertexPNT>;
