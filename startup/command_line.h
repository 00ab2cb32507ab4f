// KVSTART's one switch: "/SDC" opens the configuration window.
#pragma once

#include <string_view>

namespace kv::startup {

// True when the whole argument string, upper-cased, is "/SDC": "/sdc"
// counts, "/SDC x" or " /SDC" do not.
bool IsConfigMode(std::string_view arguments);

}  // namespace kv::startup
