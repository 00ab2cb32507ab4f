// frmAbout: the product's version line, the vendor's header and the rights
// notice. It keeps its own caption " About".
#pragma once

#include "panel/panel_context.h"
#include "ui/form.h"

namespace kv::panel {

inline constexpr const char* kRightsNotice =
    "Copyright (C) Halvane. All rights reserved.\r\n"
    "This program is protected by copyright law and international treaties.";

class AboutWindow {
public:
    static constexpr const char* kFormName = "frmAbout";

    explicit AboutWindow(PanelContext& context);
    ui::Form& Form() { return form_; }

private:
    void Load();

    PanelContext& context_;
    ui::Form form_;
};

}  // namespace kv::panel
