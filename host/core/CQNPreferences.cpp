#include "host/core/CQNPreferences.h"

COLORREF CQNPreferences::mg_color_3d_background = RGB(32, 36, 48);
bool CQNPreferences::mg_use_world_axis_rotation = true;
