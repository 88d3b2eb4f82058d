// The program reaching past the platform seam into a backend, beside the
// framework's classes and the seam, which it builds on.
#pragma once

#include "framework/CWnd.h"
#include "platform/CPlatform.h"
#include "platform/posix/CPosixPlatform.h"
