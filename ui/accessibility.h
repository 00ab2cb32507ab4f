// What a form tells screen readers and automation tools about its
// controls: which controls it lists, and each one's role, state, name,
// value and default action. The Win32 back end serves this through the
// system's accessibility interface; keeping the decisions here lets them
// be tested on headless forms.
//
// A form lists every shown control (windowless ones included) in tab
// order. A control's child id is 1 + its place in the design, so it stays
// the same while controls are shown and hidden; 0 stands for the form.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace kv::ui {

class Form;

// The values are the system's own role numbers, so a back end passes them
// on unchanged.
enum class AccessibleRole : int {
    ScrollBar = 0x03,
    Client = 0x0A,
    Grouping = 0x14,
    Graphic = 0x28,
    StaticText = 0x29,
    PushButton = 0x2B,
    CheckButton = 0x2C,
    RadioButton = 0x2D,
    ComboBox = 0x2E,
};

// State bits, with the system's values.
inline constexpr unsigned kAccUnavailable = 0x1;
inline constexpr unsigned kAccFocused = 0x4;
inline constexpr unsigned kAccChecked = 0x10;
inline constexpr unsigned kAccMixed = 0x20;
inline constexpr unsigned kAccDefault = 0x100;
inline constexpr unsigned kAccInvisible = 0x8000;
inline constexpr unsigned kAccFocusable = 0x100000;

// A caption as it reads: "&" marks the access key and is dropped, "&&"
// is one ampersand.
std::string WithoutAccessKey(const std::string& caption);

AccessibleRole RoleOf(const Control& control);
// `formHasFocus`: the form's window is the one with the keyboard, so its
// active control is the focused one.
unsigned StateOf(const Control& control, bool formHasFocus);
// Its caption without access-key marks and the blanks around it; a scroll
// bar or combo box has none and takes its name from NamedBy. Pictures,
// images and shapes have no name.
std::string AccessibleName(const Control& control);
// What names a scroll bar or combo box: the label just before it in tab
// order in the same container, else the frame it sits in; nullptr for
// other controls and when there is neither.
const Control* NamedBy(const Control& control);
// A scroll bar's position, a combo box's selected text; "" for the others.
std::string AccessibleValue(const Control& control);
// "Press", "Check", "Uncheck", "Click" (a label or picture with a Click
// handler), or "" when a control has nothing to do.
std::string DefaultActionName(const Control& control);
// Performs what a click on `control` does (focus included); false when it
// has no default action or takes no input now.
bool DoDefaultAction(Control& control);

// The control and every container are visible (the form aside).
bool ShownInForm(const Control& control);
bool EnabledInForm(const Control& control);

// The controls a form lists, in tab order.
std::vector<Control*> AccessibleChildren(const Form& form);
int ChildIdOf(const Control& control);
// nullptr for 0, an unknown id or a control that is not listed now.
Control* ListedChild(const Form& form, long childId);

enum class Navigation { First, Last, Next, Previous };
// First/Last among the listed controls (`from` ignored); Next/Previous of
// a listed `from`. nullptr when there is none.
Control* Navigate(const Form& form, const Control* from, Navigation direction);

// Of the listed controls under a point, the one a pointer there is on:
// the one with the smallest area (what a frame or a shape holds lies on
// it), and a control that takes input before a shape. nullptr for none.
Control* TopmostOf(const std::vector<Control*>& under);

}  // namespace kv::ui
