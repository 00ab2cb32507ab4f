// The control panel's frmAbout: the About window every program shares, on
// the panel's product information and main window.
#pragma once

#include "common/branding/about_window.h"
#include "panel/form_design.h"
#include "panel/panel_context.h"

namespace kv::panel {

class AboutWindow : public kv::AboutWindow {
public:
    explicit AboutWindow(PanelContext& context)
        : kv::AboutWindow(context.product, context.main, kIconResource, kSystemLineDesign) {}
};

}  // namespace kv::panel
