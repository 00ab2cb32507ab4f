// Small helpers for building the control panel's forms in code: placing a
// control with its design geometry, the branded header every window of the
// panel carries, and the black/teal highlighting of options and check boxes.
#pragma once

#include <string>

#include "common/branding/window_header.h"
#include "common/winutil/form_building.h"
#include "ui/form.h"

namespace kv::panel {

// Program icon resource (panel.rc).
inline constexpr int kIconResource = 1;

// The system line before the version is appended at start-up.
inline constexpr const char* kSystemLineDesign = "TouchScreen Control Panel Version ";

// picLogo (with lblOemTitle and lblSystem) and picIcon (with imgIcon), with
// their design properties, on a row whose top is `top`.
inline void AddHeader(ui::Form& form, int top) {
    kv::AddHeader(form, top, kSystemLineDesign, kIconResource);
}

// Selected options and checked boxes are black, the others teal.
void Highlight(ui::Control& control, bool selected);

// The three command buttons of a dialog's bottom row, right-aligned at
// `right` (the right edge of the content), in the order OK, Cancel, Apply.
void AddDialogButtons(ui::Form& form, int right, int top);

inline constexpr int kDialogButtonWidth = 1095;
inline constexpr int kDialogButtonHeight = 375;
inline constexpr int kDialogButtonGap = 120;

}  // namespace kv::panel
