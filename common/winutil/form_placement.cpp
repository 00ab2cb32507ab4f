#include "common/winutil/form_placement.h"

#include "common/winutil/centring.h"
#include "ui/backend.h"
#include "ui/form.h"

namespace kv {

void CentreWindow(ui::Form& window) {
    const WindowPlacement at = CentredPlacement(ui::ScreenWidthTwips(), ui::ScreenHeightTwips(),
                                                window.Width(), window.Height());
    window.Move(at.left, at.top, window.Width(), window.Height());
}

void CentreIcon(ui::Form& window) {
    ui::Control& box = window.Ctl("picIcon");
    ui::Control& icon = window.Ctl("imgIcon");
    const WindowPlacement at =
        CentredIn(box.ScaleWidth(), box.ScaleHeight(), icon.Width(), icon.Height());
    icon.Move(at.left, at.top, icon.Width(), icon.Height());
}

void ReturnToMain(ui::Form& main) {
    main.Show();
    main.SetFocus();
}

}  // namespace kv
