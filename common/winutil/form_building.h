// Building forms in code: a control placed with its design geometry, a
// frame with its caption; and a start-up window's first showing.
#pragma once

#include <string>

#include "ui/form.h"

namespace kv {

ui::Control& Place(ui::Form& form, ui::ControlKind kind, const std::string& name, int left, int top,
                   int width, int height, ui::Control* container = nullptr, int index = -1);

ui::Control& PlaceFrame(ui::Form& form, const std::string& name, const std::string& caption,
                        int left, int top, int width, int height);

// Loads `form` and shows it, unless its Load handler set `loadFailed`, in
// which case the form is unloaded unseen. True when it was shown.
bool ShowUnlessLoadFailed(ui::Form& form, const bool& loadFailed);

}  // namespace kv
