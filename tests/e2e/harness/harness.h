// End-to-end harness: start programs in the installation folder, wait for
// their windows (always with a bound), find controls by design name, read
// and answer message boxes, read the registry, control the driver service.
// Everything a test starts is ended by process id when the test ends.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

constexpr DWORD kDefaultTimeoutMs = 10000;

std::string InstallDir();  // C:\Program Files\TouchScreen
std::string InstalledProgram(const std::string& exeName);
// The display DPI the world was made with (wine-world.sh's KV_DPI), 96 by default.
int WorldDpi();

// Polls `condition` every `stepMs` until it holds or the time is up.
// A clock in milliseconds for measuring (QueryPerformanceCounter).
double NowMs();
// The median of `values` (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<double> values);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs,
               DWORD stepMs = 10);

class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    // Starts `exePath args` with the given show state (STARTUPINFO.wShowWindow).
    static Process Start(const std::string& exePath, const std::string& args = "",
                         WORD showState = SW_SHOWNORMAL);
    // Adopts a process the test did not start itself (found by name).
    static Process Adopt(DWORD pid);

    DWORD Id() const { return pid_; }
    bool Running() const;
    bool WaitExit(DWORD timeoutMs = kDefaultTimeoutMs) const;
    DWORD ExitCode() const;
    void Kill();

private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
};

// Runs a console program to its end (at most timeoutMs) and returns what it
// printed; exitCode is -1 when it could not be started or timed out.
struct CommandResult {
    int exitCode = -1;
    std::string output;
};
CommandResult RunAndCapture(const std::string& exePath, const std::string& args,
                            DWORD timeoutMs = kDefaultTimeoutMs);
// The value of "key=value" on its own line of `text`, or nullopt.
std::optional<std::string> KeyValue(const std::string& text, const std::string& key);

// Process ids of every running process whose exe name matches (case-insensitive).
std::vector<DWORD> ProcessesNamed(const std::string& exeName);
void KillAllNamed(const std::string& exeName);

// Top-level window with exactly this caption (of process `pid` when non-zero).
HWND FindTopWindow(const std::string& caption, DWORD pid = 0);
HWND WaitForWindow(const std::string& caption, DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);
std::vector<HWND> TopWindowsOf(DWORD pid);

std::string WindowText(HWND window);
std::string DesignName(HWND window);  // the "Name" property's atom name, or ""
// A control of a form window, windowed or not, as the form describes it
// (labels, images, shapes and frames have no window of their own).
struct ControlState {
    bool found = false;
    HWND window = nullptr;   // its own window; nullptr when its container draws it
    bool visible = false;    // it, its containers and the form are shown
    bool enabled = false;
    RECT screen{};           // on the screen, in pixels
    std::string text;        // caption; a combo box's selected item
};
ControlState QueryControl(HWND form, const std::string& designName);
// The control's own window, or nullptr (none of that name, or windowless).
HWND FindControl(HWND form, const std::string& designName);
// The form window (a top-level window) whose design name is `formName`.
HWND FindForm(const std::string& formName, DWORD pid = 0);
HWND WaitForForm(const std::string& formName, DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);

struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
// The first visible message box (#32770) of process `pid` (any when 0).
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD pid = 0, DWORD timeoutMs = kDefaultTimeoutMs);
// Presses the box's button with this id (IDOK, IDYES, IDNO...).
void PressBoxButton(HWND box, int id);
// Answers every message box left open by `pid` (any when 0) with its default.
int AnswerLeftoverBoxes(DWORD pid = 0);

// Clicks a control as a user would (BM_CLICK for buttons).
void Click(HWND control);

// Registry (64-bit view, as the programs see it).
std::optional<std::string> ReadRegString(HKEY root, const std::string& path, const std::string& name);
std::optional<DWORD> ReadRegDword(HKEY root, const std::string& path, const std::string& name);
bool WriteRegString(HKEY root, const std::string& path, const std::string& name, const std::string& value);
bool WriteRegDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
bool WriteRegBinary(HKEY root, const std::string& path, const std::string& name,
                    const std::vector<BYTE>& value);
bool DeleteRegValue(HKEY root, const std::string& path, const std::string& name);

// The stand-in driver as a service.
bool StopDriverService();
bool StartDriverService();
bool DriverServiceRunning();

}  // namespace e2e
