// frmSupport: the vendor's support bitmap with an OK button under it, the
// window sized around the picture.
#pragma once

#include "panel/panel_context.h"
#include "ui/form.h"

namespace kv::panel {

class SupportWindow {
public:
    static constexpr const char* kFormName = "frmSupport";

    explicit SupportWindow(PanelContext& context);
    ui::Form& Form() { return form_; }

private:
    void Load();

    PanelContext& context_;
    ui::Form form_;
};

}  // namespace kv::panel
