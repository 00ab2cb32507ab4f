#include "common/winutil/message_boxes.h"

#include "common/ports/desktop_port.h"

namespace kv {

int ErrorBox(DesktopPort& desktop, const std::string& text, const std::string& caption) {
    desktop.MessageBeep();
    return desktop.MessageBoxA(0, text, caption, kMbOk | kMbIconStop | kMbSystemModal);
}

int QuestionBox(DesktopPort& desktop, const std::string& text, unsigned extraFlags,
                const std::string& caption) {
    // Added, not or-ed: the flags are built as the system always built them.
    return desktop.MessageBoxA(0, text, caption,
                               extraFlags + kMbYesNo + kMbIconQuestion + kMbSystemModal);
}

}  // namespace kv
