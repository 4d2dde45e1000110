#include "vistal/containers/IVDisplacementSource.h"

IVDisplacementSource::~IVDisplacementSource() = default;
