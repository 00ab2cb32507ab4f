// The header of a window: the vendor's logo bitmap, or the vendor's title
// drawn in its style. Every branded window has a picture box picLogo with
// the labels lblOemTitle (vendor title) and lblSystem (the system line).
#pragma once

#include <string>

namespace kv {
namespace ui {
class Form;
}

class ProcessPort;
struct ProductInfo;

// The main window's header: the logo when "<InstallPath>\KVLogo.Bmp" exists
// and reads as a bitmap (recorded in product.LogoShown for the dialogs),
// otherwise the vendor title in its style.
void ShowLogo(ProductInfo& product, ProcessPort& process, ui::Form& main);

// A dialog's header, copied from the main window: the same picture (even
// if the file has gone since), or the same title in the vendor's style.
void CopyLogo(const ProductInfo& product, ui::Form& main, ui::Form& dialog);

// Font, bold/italic, size and colours of lblOemTitle and the colour of
// lblSystem from `venderStyle`; nothing changes when it is shorter than 8.
void ApplyTitleStyle(const std::string& venderStyle, ui::Form& window);

// What every control-panel dialog does at the end of its load: system line
// and caption from the main window, header, centring.
void DressDialog(const ProductInfo& product, ui::Form& main, ui::Form& dialog);

}  // namespace kv
