#include "host/framework/UIWnd3D.h"

UIWnd3D::~UIWnd3D() = default;
