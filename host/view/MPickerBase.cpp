#include "host/view/MPickerBase.h"

MPickerBase::~MPickerBase() = default;
