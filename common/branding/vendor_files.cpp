#include "common/branding/vendor_files.h"

#include "common/ports/process_port.h"
#include "common/winutil/file_exists.h"

namespace kv {

std::string LogoFilePath(const std::string& installPath) { return installPath + "\\KVLogo.Bmp"; }

std::string VenderBitmapPath(const std::string& installPath) {
    return installPath + "\\KVVender.Bmp";
}

std::string VenderCutPath(const std::string& installPath) {
    return installPath + "\\KVVender.Cut";
}

SupportButtonChoice ChooseSupportButton(ProcessPort& process, const std::string& installPath) {
    SupportButtonChoice choice;
    if (FileExists(process, VenderCutPath(installPath))) {
        choice.kind = SupportButtonChoice::Kind::Blank;
        choice.caption = "";
        choice.enabled = false;
        return choice;
    }
    choice.venderBitmapPath = VenderBitmapPath(installPath);
    if (FileExists(process, choice.venderBitmapPath)) {
        choice.kind = SupportButtonChoice::Kind::Support;
        choice.caption = "S&upport";
    } else {
        choice.kind = SupportButtonChoice::Kind::About;
        choice.caption = "&About";
    }
    return choice;
}

}  // namespace kv
