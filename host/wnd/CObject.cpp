#include "host/wnd/CObject.h"

CObject::~CObject() = default;
