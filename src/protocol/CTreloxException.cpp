// The root of the device error family; it holds nothing of its own.
#include "protocol/CTreloxException.h"
