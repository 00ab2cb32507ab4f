#include "common/winutil/message_boxes.h"

#include "common/ports/desktop_port.h"

namespace kv {

int ErrorBox(DesktopPort& desktop, const std::string& text, const std::string& caption,
             BoxOwner owner) {
    desktop.MessageBeep();
    return desktop.MessageBoxA(owner, text, caption, kMbOk | kMbIconStop | kMbSystemModal);
}

int QuestionBox(DesktopPort& desktop, const std::string& text, unsigned extraFlags,
                const std::string& caption, BoxOwner owner) {
    // Added, not or-ed: the flags are built as the system always built them.
    return desktop.MessageBoxA(owner, text, caption,
                               extraFlags + kMbYesNo + kMbIconQuestion + kMbSystemModal);
}

}  // namespace kv
