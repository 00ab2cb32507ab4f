#include "panel/panel_program.h"

namespace kv::panel {

PanelProgram::PanelProgram(const PanelPorts& ports)
    : context_(ports),
      main_(context_),
      mouseSpeed_(context_),
      feedbackSound_(context_),
      virtualButton_(context_),
      support_(context_),
      about_(context_),
      drawTest_(context_),
      calibration_(context_, calibrationScreen_) {
    PanelWindows& windows = main_.Windows();
    windows.mouseSpeed = &mouseSpeed_.Form();
    windows.feedbackSound = &feedbackSound_.Form();
    windows.virtualButton = &virtualButton_.Form();
    windows.support = &support_.Form();
    windows.about = &about_.Form();
    windows.drawTest = &drawTest_.Form();
    windows.calibration = &calibrationScreen_.Form();
}

}  // namespace kv::panel
