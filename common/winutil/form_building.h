// Building forms in code: a control placed with its design geometry, and a
// frame with its caption.
#pragma once

#include <string>

#include "ui/form.h"

namespace kv {

ui::Control& Place(ui::Form& form, ui::ControlKind kind, const std::string& name, int left, int top,
                   int width, int height, ui::Control* container = nullptr, int index = -1);

ui::Control& PlaceFrame(ui::Form& form, const std::string& name, const std::string& caption,
                        int left, int top, int width, int height);

}  // namespace kv
