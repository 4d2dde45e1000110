#include "host/meshops/ICutFaceParent.h"

ICutFaceParent::ICutFaceParent() = default;
ICutFaceParent::ICutFaceParent(const ICutFaceParent&) {}
ICutFaceParent& ICutFaceParent::operator=(const ICutFaceParent&) { return *this; }
ICutFaceParent::~ICutFaceParent() = default;
