// What the installer and the uninstaller show while they work: the busy
// cursor, window centring, and the one-line status window frmMessage
// (lblMsg with the picture imgMsg beside it; no buttons, never modal).
#pragma once

#include <cstdint>
#include <string>

#include "ui/form.h"

namespace kv {

inline constexpr int kBusyCursor = 11;
inline constexpr int kIdleCursor = 0;

// The program's busy count: 11 counts up, 0 counts down (not below 0);
// the screen pointer is the hourglass while the count is above 0. Any
// other code sets the screen pointer directly and leaves the count alone.
class BusyCursor {
public:
    void Set(int code);
    int Count() const { return count_; }

private:
    std::int16_t count_ = 0;
};

// Centres `window` on the screen (a little above the middle) with the
// busy cursor on meanwhile.
void CenterWindow(ui::Form& window, BusyCursor& busy);

class StatusWindow {
public:
    static constexpr const char* kFormName = "frmMessage";
    // The picture of imgMsg: this icon resource of the program.
    StatusWindow(const std::string& title, int iconResource, BusyCursor& busy);

    // Loads the window if needed, shows `text` with the picture centred
    // beside it, centres the window and paints it at once.
    void ShowStatusMessage(const std::string& text);
    void Unload() { form_.Unload(); }
    ui::Form& Form() { return form_; }

private:
    ui::Form form_;
    BusyCursor& busy_;
};

}  // namespace kv
