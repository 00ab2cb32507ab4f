#include "panel/panel_context.h"

namespace kv {

void NameList1::Fill(const std::array<std::string_view, kCount>& names) {
    for (int i = 0; i < kCount; ++i)
        names_[static_cast<size_t>(i)] = std::string(names[static_cast<size_t>(i)]);
    filled_ = true;
}

const std::string& NameList1::operator[](int i) const {
    static const std::string none;
    if (!filled_ || i < 1 || i > kCount) return none;
    return names_[static_cast<size_t>(i - 1)];
}

PanelContext::PanelContext(const PanelPorts& ports)
    : devicePort(ports.device),
      registry(ports.registry),
      desktop(ports.desktop),
      process(ports.process),
      device(ports.device) {}

}  // namespace kv
