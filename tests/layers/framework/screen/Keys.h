// Reaches a backend by a path relative to the file.
#pragma once

#include "../term/CCursesScreen.h"
