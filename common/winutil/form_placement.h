// Placing forms: centring a window on the screen and its icon in its icon
// box, and coming back to the control panel's main window.
#pragma once

namespace kv {
namespace ui {
class Form;
}

// Centres `window` with the screen size of the form platform (see
// CentredPlacement); its size does not change.
void CentreWindow(ui::Form& window);

// Centres the window's imgIcon in the inner area of its picIcon.
void CentreIcon(ui::Form& window);

// Brings frmMain back, focused, when a dialog of the control panel goes
// away.
void ReturnToMain(ui::Form& main);

}  // namespace kv
