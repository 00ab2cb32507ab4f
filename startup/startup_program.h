// KVSTART as one object: the shared context, frmMain and frmAbout, and the
// start procedure. WinMain (or a test) builds it on its ports and starts it.
#pragma once

#include <string>

#include "common/branding/about_window.h"
#include "startup/startup_context.h"
#include "startup/startup_window.h"

namespace kv::startup {

class StartupProgram {
public:
    explicit StartupProgram(const StartupPorts& ports);
    StartupProgram(const StartupProgram&) = delete;
    StartupProgram& operator=(const StartupProgram&) = delete;

    // The start procedure, with the program's argument string. A logon run
    // does all its work here and ends; true when the configuration window
    // stays open and the caller is to run the message loop.
    bool Start(const std::string& arguments);

    StartupContext& Context() { return context_; }
    StartupWindow& Main() { return main_; }
    ui::Form& MainForm() { return main_.Form(); }
    ui::Form& About() { return about_.Form(); }

private:
    StartupContext context_;
    StartupWindow main_;
    AboutWindow about_;
};

}  // namespace kv::startup
