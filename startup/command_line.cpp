#include "startup/command_line.h"

namespace kv::startup {

bool IsConfigMode(std::string_view arguments) {
    constexpr std::string_view kSwitch = "/SDC";
    if (arguments.size() != kSwitch.size()) return false;
    for (std::size_t i = 0; i < kSwitch.size(); ++i) {
        char c = arguments[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kSwitch[i]) return false;
    }
    return true;
}

}  // namespace kv::startup
