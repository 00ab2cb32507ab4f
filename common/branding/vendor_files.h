// The optional vendor files in the installation folder.
//   KVLogo.Bmp    the window headers show this bitmap instead of the title
//   KVVender.Bmp  the support dialog's picture: the support button opens it
//   KVVender.Cut  the support button is blank and disabled
#pragma once

#include <string>

namespace kv {

class ProcessPort;

std::string LogoFilePath(const std::string& installPath);
std::string VenderBitmapPath(const std::string& installPath);
std::string VenderCutPath(const std::string& installPath);

// What the main window's support button becomes.
struct SupportButtonChoice {
    enum class Kind { Blank, Support, About };
    Kind kind = Kind::About;
    std::string caption;           // "", "S&upport", "&About"
    bool enabled = true;
    std::string venderBitmapPath;  // empty when the button is cut
};

SupportButtonChoice ChooseSupportButton(ProcessPort& process, const std::string& installPath);

}  // namespace kv
