// The common base of the objects behind POSIX platform handles.
#include "CPosixObject.h"

CPosixObject::~CPosixObject() = default;
