// Reaches past the view into the window system behind it.
#pragma once

#include "framework/portable/CPortableWindowSystem.h"
