// The platform ports on Win32: one system call per method, arguments passed
// as given, results returned unchanged.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "common/ports/clock_port.h"
#include "common/ports/desktop_port.h"
#include "common/ports/device_port.h"
#include "common/ports/process_port.h"
#include "common/ports/registry_port.h"

namespace kv::win32 {

class Win32DevicePort : public DevicePort {
public:
    NativeHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                             SecurityAttributesRecord* security, std::uint32_t disposition,
                             std::uint32_t attributes, NativeHandle templateFile) override;
    bool DeviceIoControl(NativeHandle device, std::uint32_t code, void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* bytesReturned,
                         OverlappedRecord* overlapped) override;
    bool CloseHandle(NativeHandle handle) override;
};

class Win32RegistryPort : public RegistryPort {
public:
    long RegCreateKeyA(RegKey root, const char* path, RegKey* result) override;
    long RegOpenKeyA(RegKey root, const char* path, RegKey* result) override;
    long RegQueryValueExA(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) override;
    long RegSetValueExA(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) override;
    long RegDeleteKeyA(RegKey root, const char* path) override;
    long RegCloseKey(RegKey key) override;

    // The predefined roots are sign-extended handles on 64-bit Windows
    // (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002); the port's constants are
    // their 32-bit values.
    static HKEY ToHkey(RegKey key);
};

class Win32DesktopPort : public DesktopPort {
public:
    void MessageBeep() override;
    int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                    unsigned flags) override;
    int ShowCursor(bool show) override;
    WindowHandle FindWindowA(const char* className, const char* title) override;
    WindowHandle GetWindow(WindowHandle window, unsigned command) override;
    WindowHandle GetParent(WindowHandle window) override;
    // 64-bit Windows has no 16-bit instance word (GetWindowWord(-6) is not
    // supported there): index -6 answers the low 16 bits of
    // GetWindowLongPtrA(GWLP_HINSTANCE), the same number a 32-bit system
    // gave. Module bases are 64 KB aligned, so it is 0 for every window of a
    // loaded module, as it was for the 32-bit programs on the old system.
    // Other negative indices likewise take the low word of
    // GetWindowLongPtrA; non-negative ones read the window's extra bytes.
    std::uint16_t GetWindowWord(WindowHandle window, int index) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int bufferSize) override;
    int GetWindowTextLengthA(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool BringWindowToTop(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    bool IsWindowEnabled(WindowHandle window) override;
    bool IsIconic(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int command) override;
    std::uint32_t GetWindowThreadProcessId(WindowHandle window) override;
    std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    int TwipsPerPixelX() override;
    int TwipsPerPixelY() override;
    PixelRect WorkArea() override;
};

class Win32ProcessPort : public ProcessPort {
public:
    ~Win32ProcessPort() override;
    unsigned WinExec(const std::string& commandLine, int showState) override;
    // A named mutex "Local\<programId>": the first process to create it
    // keeps it open for as long as it lives (this port's lifetime); asking
    // again from the same process answers false.
    bool PreviousInstanceRunning(const std::string& programId) override;
    bool FileExists(const std::string& path) override;

private:
    std::map<std::string, HANDLE> owned_;
};

class Win32ClockPort : public ClockPort {
public:
    double SecondsSinceMidnight() override;
    std::uint64_t Milliseconds() override;
    void WaitForEvents(int ms) override;
};

}  // namespace kv::win32
