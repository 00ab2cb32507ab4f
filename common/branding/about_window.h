// frmAbout: the product's version line, the vendor's header and the rights
// notice. It keeps its own caption " About"; the program's main window is
// hidden while it shows and comes back with the focus when it unloads.
#pragma once

#include "ui/form.h"

namespace kv {

struct ProductInfo;

inline constexpr const char* kRightsNotice =
    "Copyright (C) Halvane. All rights reserved.\r\n"
    "This program is protected by copyright law and international treaties.";

class AboutWindow {
public:
    static constexpr const char* kFormName = "frmAbout";

    // `main` is the program's main window, set by the time the About window
    // loads; its lblSystem and header are copied.
    AboutWindow(const ProductInfo& product, ui::Form* const& main, int iconResource,
                const char* systemLineDesign);
    ui::Form& Form() { return form_; }

private:
    void Load();

    const ProductInfo& product_;
    ui::Form* const& main_;
    ui::Form form_;
};

}  // namespace kv
