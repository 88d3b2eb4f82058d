// A small dialog template for the framework's own tests: an edit, a button,
// a progress bar, a label, OK and Cancel.
#pragma once

#include "framework/AfxTypes.h"

namespace test_dialog {
constexpr UINT kTemplateId = 9001;
constexpr int kEdit = 10;
constexpr int kButton = 11;
constexpr int kProgress = 12;
constexpr int kSecondEdit = 13;

// Registers the template (again) with the framework.
void Register();
}  // namespace test_dialog
