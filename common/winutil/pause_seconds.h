// PauseSeconds(n): lets window events run for about n seconds. The pause
// starts from the time of day rounded to the nearest whole second, so it
// lasts between n - 1/2 and n + 1/2 seconds. The deadline is kept on a clock
// that never wraps, so a pause that crosses midnight still ends.
#pragma once

#include <functional>

namespace kv {

class ClockPort;

// `runEvents` handles the window events that are waiting (DoEvents).
void PauseSeconds(ClockPort& clock, int seconds, const std::function<void()>& runEvents);

}  // namespace kv
