// The common base of the objects behind POSIX platform handles.
#include "platform/posix/CPosixObject.h"

CPosixObject::~CPosixObject() = default;
