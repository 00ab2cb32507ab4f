#include "common/winutil/form_building.h"

namespace kv {

ui::Control& Place(ui::Form& form, ui::ControlKind kind, const std::string& name, int left, int top,
                   int width, int height, ui::Control* container, int index) {
    ui::Control& c = form.Add(kind, name, index, container);
    c.Move(left, top, width, height);
    return c;
}

ui::Control& PlaceFrame(ui::Form& form, const std::string& name, const std::string& caption,
                        int left, int top, int width, int height) {
    ui::Control& frame = Place(form, ui::ControlKind::Frame, name, left, top, width, height);
    frame.SetCaption(caption);
    return frame;
}

bool ShowUnlessLoadFailed(ui::Form& form, const bool& loadFailed) {
    form.Load();
    if (loadFailed) {
        form.Unload();
        return false;
    }
    form.Show();
    return true;
}

}  // namespace kv
