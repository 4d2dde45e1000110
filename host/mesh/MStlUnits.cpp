#include "host/mesh/MStlUnits.h"

long IE = 1000;
