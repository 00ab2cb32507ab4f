#include "setup/setup_program.h"

#include "common/ports/desktop_port.h"
#include "common/registry/registry_store.h"
#include "common/winutil/file_exists.h"
#include "common/winutil/program_titles.h"
#include "setup/mouse_class_config.h"
#include "setup/settings_import.h"
#include "setup/setupcommon/ini_strings.h"
#include "setup/setupcommon/installer_registry.h"
#include "setup/setupcommon/restart.h"
#include "setup/setupcommon/unattended.h"

namespace kv {

namespace {
constexpr unsigned kMbIconInformation = 0x40;
}

SetupProgram::SetupProgram(const SetupPorts& ports, const UnattendedDesktop* unattended)
    : ports_(ports),
      unattended_(unattended),
      title_(kSetupTitle),
      status_(title_, kSetupIconResource, busy_) {}

int SetupProgram::Run() {
    if (!unattended_) status_.ShowStatusMessage("Setup is updating your system...");
    if (!product_.LoadProductInformation(ports_.registry)) {
        ports_.desktop.MessageBoxA(0, "Fail to load data from Register File!", title_, kMbOk);
        status_.Unload();
        return unattended_ ? kExitFailed : 0;
    }
    ImportSetupSettings(ports_, product_, title_);
    ImportVendorFile();
    ConfigureMouseClass(ports_, product_, title_);
    status_.Unload();
    // The mouse configuration takes effect at the next start, which an
    // unattended run leaves to whoever deploys it.
    if (unattended_) return unattended_->ExitCode(kExitRestartNeeded);
    ports_.desktop.MessageBoxA(0,
                               "Setup has finished installing TouchScreen drivers and utilities on "
                               "your computer.\r\n\r\nThe Windows must be restarted.",
                               title_, kMbOk | kMbIconInformation | kMbSystemModal);
    RestartWindows(ports_.restart, ports_.desktop, title_);
    return 0;
}

void SetupProgram::ImportVendorFile() {
    const std::string path = product_.InstallPath + "\\setup.oem";
    if (!FileExists(ports_.process, path)) return;
    const std::string title = ReadIniString(ports_.ini, path, "SETUP", "TITLE");
    if (!title.empty()) {
        product_.VenderName = title;
        StoreVendorValue("VenderName", title, "Fail to Set Vender Name!");
    }
    const std::string style = ReadIniString(ports_.ini, path, "SETUP", "STYLE");
    if (!style.empty()) {
        product_.VenderStyle = style;
        StoreVendorValue("VenderStyle", style, "Fail to Set Vender Style!");
    }
}

void SetupProgram::StoreVendorValue(const std::string& name, const std::string& text,
                                    const std::string& failure) {
    std::string subkey = product_.Subkey;
    RegKey key = 0;
    bool ok = OpenKey(ports_.registry, product_.Root, product_.KeyPath, subkey, key);
    if (ok) {
        ok = SetStringValue(ports_.registry, key, name, text);
        CloseKey(ports_.registry, key);
    }
    if (!ok) ports_.desktop.MessageBoxA(0, failure, title_, kMbOk);
}

}  // namespace kv
