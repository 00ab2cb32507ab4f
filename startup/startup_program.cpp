#include "startup/startup_program.h"

#include "common/winutil/pause_seconds.h"
#include "common/winutil/program_titles.h"
#include "startup/apply_double_click.h"
#include "startup/command_line.h"
#include "startup/logon_run.h"
#include "ui/backend.h"

namespace kv::startup {

StartupProgram::StartupProgram(const StartupPorts& ports)
    : context_(ports),
      main_(context_),
      about_(context_.product, context_.main, kIconResource, kSystemLineDesign) {
    main_.SetAbout(&about_.Form());
}

bool StartupProgram::Start(const std::string& arguments) {
    context_.configMode = IsConfigMode(arguments);
    if (!main_.Start()) return false;
    if (context_.configMode) return true;

    ui::Form& window = main_.Form();
    // The title window shows while the work is done.
    window.Refresh();
    ApplyDoubleClick(context_.mouse, context_.registry, context_.desktop, context_.product,
                     context_.values, kStartupTitle);
    if (RunDriverSteps(context_)) PauseSeconds(context_.clock, 1, [] { ui::DoEvents(); });
    window.Unload();
    return false;
}

}  // namespace kv::startup
