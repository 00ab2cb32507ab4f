#include "ui/accessibility.h"

#include <algorithm>

#include "ui/form.h"

namespace kv::ui {

std::string WithoutAccessKey(const std::string& caption) {
    std::string out;
    out.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

namespace {

// Captions are padded with blanks to place them on the screen; a reader
// should not say them.
std::string Spoken(const std::string& caption) {
    std::string text = WithoutAccessKey(caption);
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

AccessibleRole RoleOf(const Control& c) {
    switch (c.Kind()) {
        case ControlKind::CommandButton: return AccessibleRole::PushButton;
        case ControlKind::Label: return AccessibleRole::StaticText;
        case ControlKind::HScrollBar: return AccessibleRole::ScrollBar;
        case ControlKind::CheckBox: return AccessibleRole::CheckButton;
        case ControlKind::OptionButton: return AccessibleRole::RadioButton;
        case ControlKind::ComboBox: return AccessibleRole::ComboBox;
        case ControlKind::Frame: return AccessibleRole::Grouping;
        case ControlKind::PictureBox:
        case ControlKind::Image:
        case ControlKind::Shape: return AccessibleRole::Graphic;
    }
    return AccessibleRole::Client;
}

bool ShownInForm(const Control& c) {
    for (const Control* k = &c; k != nullptr; k = k->Container())
        if (!k->Visible()) return false;
    return true;
}

bool EnabledInForm(const Control& c) {
    for (const Control* k = &c; k != nullptr; k = k->Container())
        if (!k->Enabled()) return false;
    return true;
}

namespace {

bool TakesFocus(const Control& c) {
    switch (c.Kind()) {
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::HScrollBar:
        case ControlKind::ComboBox: return true;
        case ControlKind::PictureBox: return c.WantsAllKeys();
        default: return false;
    }
}

}  // namespace

unsigned StateOf(const Control& c, bool formHasFocus) {
    const Form& form = c.Owner();
    unsigned state = 0;
    if (!EnabledInForm(c) || !form.Enabled()) state |= kAccUnavailable;
    if (!ShownInForm(c) || !form.Visible()) state |= kAccInvisible;
    if (TakesFocus(c)) {
        state |= kAccFocusable;
        if (formHasFocus && c.HasFocus() && c.CanFocus()) state |= kAccFocused;
    }
    if (c.Kind() == ControlKind::CheckBox || c.Kind() == ControlKind::OptionButton) {
        if (c.Value() == 1) state |= kAccChecked;
        if (c.Kind() == ControlKind::CheckBox && c.Value() == 2) state |= kAccMixed;
    }
    if (c.ShowsDefaultBorder()) state |= kAccDefault;
    return state;
}

const Control* NamedBy(const Control& c) {
    if (c.Kind() != ControlKind::HScrollBar && c.Kind() != ControlKind::ComboBox) return nullptr;
    const auto& order = c.Owner().TabOrder();
    const int at = c.Owner().TabIndexOf(c);
    if (at > 0) {
        const Control* before = order[static_cast<size_t>(at - 1)];
        if (before->Kind() == ControlKind::Label && before->Container() == c.Container() &&
            !Spoken(before->Caption()).empty())
            return before;
    }
    for (const Control* k = c.Container(); k != nullptr; k = k->Container())
        if (k->Kind() == ControlKind::Frame) return k;
    return nullptr;
}

std::string AccessibleName(const Control& c) {
    switch (c.Kind()) {
        case ControlKind::PictureBox:
        case ControlKind::Image:
        case ControlKind::Shape: return {};
        case ControlKind::HScrollBar:
        case ControlKind::ComboBox: {
            const Control* by = NamedBy(c);
            return by != nullptr ? Spoken(by->Caption()) : std::string();
        }
        default: return Spoken(c.Caption());
    }
}

std::string AccessibleValue(const Control& c) {
    if (c.Kind() == ControlKind::HScrollBar) return std::to_string(c.Value());
    if (c.Kind() == ControlKind::ComboBox) return c.Text();
    return {};
}

std::string DefaultActionName(const Control& c) {
    switch (c.Kind()) {
        case ControlKind::CommandButton: return "Press";
        case ControlKind::CheckBox: return c.Value() == 1 ? "Uncheck" : "Check";
        case ControlKind::OptionButton: return "Check";
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::PictureBox: return c.Click ? "Click" : "";
        default: return {};
    }
}

bool DoDefaultAction(Control& c) {
    if (DefaultActionName(c).empty() || !c.Reachable()) return false;
    if (c.CanFocus()) c.SetFocus();  // as the mouse would
    c.UserClick();
    return true;
}

std::vector<Control*> AccessibleChildren(const Form& form) {
    std::vector<Control*> listed;
    listed.reserve(form.TabOrder().size());
    for (Control* c : form.TabOrder())
        if (ShownInForm(*c)) listed.push_back(c);
    return listed;
}

int ChildIdOf(const Control& c) {
    const auto& controls = c.Owner().Controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == &c) return static_cast<int>(i) + 1;
    return 0;
}

Control* ListedChild(const Form& form, long childId) {
    const auto& controls = form.Controls();
    if (childId < 1 || childId > static_cast<long>(controls.size())) return nullptr;
    Control* c = controls[static_cast<size_t>(childId - 1)].get();
    return ShownInForm(*c) ? c : nullptr;
}

Control* Navigate(const Form& form, const Control* from, Navigation direction) {
    const std::vector<Control*> listed = AccessibleChildren(form);
    if (listed.empty()) return nullptr;
    switch (direction) {
        case Navigation::First: return listed.front();
        case Navigation::Last: return listed.back();
        default: break;
    }
    const auto it = std::find(listed.begin(), listed.end(), from);
    if (it == listed.end()) return nullptr;
    if (direction == Navigation::Next) return it + 1 == listed.end() ? nullptr : *(it + 1);
    return it == listed.begin() ? nullptr : *(it - 1);
}

Control* TopmostOf(const std::vector<Control*>& under) {
    Control* best = nullptr;
    long long bestArea = 0;
    for (Control* c : under) {
        const long long area = static_cast<long long>(c->Width()) * c->ContainerUnitTwips(true) *
                               c->Height() * c->ContainerUnitTwips(false);
        const bool shape = c->Kind() == ControlKind::Shape;
        if (best != nullptr) {
            const bool bestShape = best->Kind() == ControlKind::Shape;
            if (shape && !bestShape) continue;
            if (shape == bestShape && area >= bestArea) continue;
        }
        best = c;
        bestArea = area;
    }
    return best;
}

}  // namespace kv::ui
