#include "host/meshops/MStlSlicerBase.h"

MStlSlicerBase::MStlSlicerBase() = default;
MStlSlicerBase::MStlSlicerBase(const MStlSlicerBase&) = default;
MStlSlicerBase& MStlSlicerBase::operator=(const MStlSlicerBase&) = default;
MStlSlicerBase::~MStlSlicerBase() = default;
