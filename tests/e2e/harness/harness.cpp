#include "harness.h"

#include "win32/control_query.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace e2e {

std::string InstallDir() { return "C:\\Program Files\\TouchScreen"; }
std::string InstalledProgram(const std::string& exeName) { return InstallDir() + "\\" + exeName; }

int WorldDpi() {
    const char* dpi = std::getenv("KV_DPI");
    return dpi != nullptr && *dpi != '\0' ? std::atoi(dpi) : 96;
}

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(stepMs);
    }
}

// ---- processes ------------------------------------------------------------

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
    if (handle_) CloseHandle(handle_);
}

Process Process::Start(const std::string& exePath, const std::string& args, WORD showState) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!args.empty()) commandLine += " " + args;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    PROCESS_INFORMATION info{};
    std::string dir = exePath.substr(0, exePath.find_last_of('\\'));
    Process p;
    if (CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       dir.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        p.handle_ = info.hProcess;
        p.pid_ = info.dwProcessId;
    }
    return p;
}

Process Process::Adopt(DWORD pid) {
    Process p;
    p.handle_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                            FALSE, pid);
    if (p.handle_) p.pid_ = pid;
    return p;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
}

CommandResult RunAndCapture(const std::string& exePath, const std::string& args, DWORD timeoutMs) {
    CommandResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::string commandLine = "\"" + exePath + "\" " + args;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    // Read while it runs so a full pipe cannot stall the child.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
            DWORD got = 0;
            if (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got)
                result.output.append(buffer, got);
            continue;
        }
        if (WaitForSingleObject(info.hProcess, 10) == WAIT_OBJECT_0) {
            DWORD got = 0;
            while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available &&
                   ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got)
                result.output.append(buffer, got);
            DWORD code = 0;
            GetExitCodeProcess(info.hProcess, &code);
            result.exitCode = static_cast<int>(code);
            break;
        }
        if (GetTickCount64() >= deadline) {
            TerminateProcess(info.hProcess, 1);
            break;
        }
    }
    CloseHandle(readEnd);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return result;
}

std::optional<std::string> KeyValue(const std::string& text, const std::string& key) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
        at = end + 1;
    }
    return std::nullopt;
}

std::vector<DWORD> ProcessesNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snap);
    return ids;
}

void KillAllNamed(const std::string& exeName) {
    for (DWORD pid : ProcessesNamed(exeName)) Process::Adopt(pid).Kill();
}

// ---- windows --------------------------------------------------------------

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string DesignName(HWND window) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(window, "Name")));
    if (!atom) return {};
    char buffer[256] = {};
    if (!GlobalGetAtomNameA(atom, buffer, sizeof buffer)) return {};
    return buffer;
}

namespace {

struct TopSearch {
    DWORD pid;
    std::function<bool(HWND)> match;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->pid && owner != search->pid) return TRUE;
    if (!search->match || search->match(window)) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid, std::function<bool(HWND)> match) {
    TopSearch search{pid, std::move(match), {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsMessageBox(HWND window) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    return std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window);
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid) { return TopWindows(pid, nullptr); }

HWND FindTopWindow(const std::string& caption, DWORD pid) {
    auto found = TopWindows(pid, [&](HWND w) { return WindowText(w) == caption; });
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const std::string& caption, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(caption, pid)) != nullptr; }, timeoutMs);
    return found;
}

namespace {

// The window the forms send their answers to (one per thread that asks).
LRESULT CALLBACK AnswerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        auto* state = reinterpret_cast<ControlState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (state == nullptr || data->dwData != kv::win32::kControlReply ||
            data->cbData < sizeof(kv::win32::ControlReply))
            return FALSE;
        kv::win32::ControlReply reply;
        std::memcpy(&reply, data->lpData, sizeof reply);
        state->found = true;
        state->window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(reply.window));
        state->visible = (reply.flags & kv::win32::kControlVisible) != 0;
        state->enabled = (reply.flags & kv::win32::kControlEnabled) != 0;
        state->screen = RECT{reply.left, reply.top, reply.right, reply.bottom};
        state->text.assign(static_cast<const char*>(data->lpData) + sizeof reply,
                           data->cbData - sizeof reply);
        return TRUE;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

HWND AnswerWindow() {
    thread_local HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = AnswerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KvE2eAnswers";
        RegisterClassA(&wc);  // a second thread finds it registered
        return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    return window;
}

}  // namespace

ControlState QueryControl(HWND form, const std::string& designName) {
    ControlState state;
    HWND answers = AnswerWindow();
    if (form == nullptr || answers == nullptr) return state;
    SetWindowLongPtrA(answers, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    COPYDATASTRUCT request{kv::win32::kControlQuery, static_cast<DWORD>(designName.size()),
                           const_cast<char*>(designName.data())};
    DWORD_PTR result = 0;
    // A hung or busy program must not hang the test.
    if (!SendMessageTimeoutA(form, WM_COPYDATA, reinterpret_cast<WPARAM>(answers),
                             reinterpret_cast<LPARAM>(&request), SMTO_ABORTIFHUNG, 5000, &result) ||
        result == FALSE)
        state = ControlState{};
    SetWindowLongPtrA(answers, GWLP_USERDATA, 0);
    return state;
}

HWND FindControl(HWND form, const std::string& designName) {
    return QueryControl(form, designName).window;
}

HWND FindForm(const std::string& formName, DWORD pid) {
    auto found = TopWindows(pid, [&](HWND w) { return DesignName(w) == formName; });
    return found.empty() ? nullptr : found.front();
}

HWND WaitForForm(const std::string& formName, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindForm(formName, pid)) != nullptr; }, timeoutMs);
    return found;
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    HWND box = nullptr;
    if (!WaitUntil(
            [&] {
                auto boxes = TopWindows(pid, IsMessageBox);
                box = boxes.empty() ? nullptr : boxes.front();
                return box != nullptr;
            },
            timeoutMs)) {
        return std::nullopt;
    }
    MessageBoxSeen seen;
    seen.window = box;
    seen.caption = WindowText(box);
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen.text = text;
    return seen;
}

void PressBoxButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (button)
        SendMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindow(box); }, 2000);
}

int AnswerLeftoverBoxes(DWORD pid) {
    int answered = 0;
    for (HWND box : TopWindows(pid, IsMessageBox)) {
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        PostMessageA(box, WM_CLOSE, 0, 0);
        ++answered;
    }
    return answered;
}

void Click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }

// ---- registry -------------------------------------------------------------

namespace {

std::optional<std::vector<BYTE>> ReadRaw(HKEY root, const std::string& path, const std::string& name,
                                         DWORD wantType) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::vector<BYTE>> result;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == wantType) {
        std::vector<BYTE> data(size + 1);
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
            data.resize(size);
            result = data;
        }
    }
    RegCloseKey(key);
    return result;
}

bool WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
              const BYTE* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(key, name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

}  // namespace

std::optional<std::string> ReadRegString(HKEY root, const std::string& path, const std::string& name) {
    auto raw = ReadRaw(root, path, name, REG_SZ);
    if (!raw) return std::nullopt;
    std::string text(raw->begin(), raw->end());
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

std::optional<DWORD> ReadRegDword(HKEY root, const std::string& path, const std::string& name) {
    auto raw = ReadRaw(root, path, name, REG_DWORD);
    if (!raw || raw->size() != 4) return std::nullopt;
    DWORD value;
    std::memcpy(&value, raw->data(), 4);
    return value;
}

bool WriteRegString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
    return WriteRaw(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                    static_cast<DWORD>(value.size() + 1));
}

bool WriteRegDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    return WriteRaw(root, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
}

bool WriteRegBinary(HKEY root, const std::string& path, const std::string& name,
                    const std::vector<BYTE>& value) {
    return WriteRaw(root, path, name, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
}

bool DeleteRegValue(HKEY root, const std::string& path, const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return false;
    bool ok = RegDeleteValueA(key, name.c_str()) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

// ---- the driver service ---------------------------------------------------

namespace {

template <typename F>
bool WithService(DWORD access, F f) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return false;
    SC_HANDLE service = OpenServiceA(manager, "KVTOUCH", access);
    bool ok = service && f(service);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return ok;
}

DWORD ServiceState() {
    DWORD state = 0;
    WithService(SERVICE_QUERY_STATUS, [&](SC_HANDLE s) {
        SERVICE_STATUS status{};
        if (!QueryServiceStatus(s, &status)) return false;
        state = status.dwCurrentState;
        return true;
    });
    return state;
}

}  // namespace

bool DriverServiceRunning() { return ServiceState() == SERVICE_RUNNING; }

bool StopDriverService() {
    WithService(SERVICE_STOP, [](SC_HANDLE s) {
        SERVICE_STATUS status{};
        return ControlService(s, SERVICE_CONTROL_STOP, &status) != FALSE;
    });
    return WaitUntil([] { return ServiceState() == SERVICE_STOPPED; }, 10000, 50);
}

bool StartDriverService() {
    WithService(SERVICE_START, [](SC_HANDLE s) { return StartServiceA(s, 0, nullptr) != FALSE; });
    return WaitUntil([] { return ServiceState() == SERVICE_RUNNING; }, 10000, 50);
}

}  // namespace e2e
