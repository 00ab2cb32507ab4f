#include "win32/ports_win32.h"

namespace kv::win32 {

double Win32ClockPort::SecondsSinceMidnight() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

std::uint64_t Win32ClockPort::Milliseconds() { return GetTickCount64(); }

void Win32ClockPort::WaitForEvents(int ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace kv::win32
