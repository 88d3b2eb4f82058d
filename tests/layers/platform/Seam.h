// The ground floor reaching up into the framework, beside its own types.
#pragma once

#include "framework/AfxTypes.h"
#include "platform/PlatformBasics.h"
