// The bytes that take a terminal out of the full screen (normal screen,
// visible cursor, plain attributes, keypad off), from the description of the
// terminal the screen library has started on.
#pragma once

#include <string>

std::string LeaveScreenBytes();
