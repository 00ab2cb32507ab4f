// The branded header every program window carries: picLogo holding the
// vendor title lblOemTitle and the system line lblSystem, and picIcon
// holding the program icon imgIcon.
#pragma once

#include "ui/form.h"

namespace kv {

// The header's controls with their design properties, on a row whose top
// is `top`. `systemLine` is lblSystem's design caption; `iconResource` the
// program icon's resource id.
void AddHeader(ui::Form& form, int top, const char* systemLine, int iconResource);

}  // namespace kv
