#include "common/branding/logo.h"

#include "common/branding/product_info.h"
#include "common/branding/vender_style.h"
#include "common/branding/vendor_files.h"
#include "common/winutil/file_exists.h"
#include "common/winutil/form_placement.h"
#include "ui/backend.h"
#include "ui/form.h"

namespace kv {

namespace {

// The logo replaces the title: the system line moves into the corner.
void ShowPicture(ui::Form& window, const ui::Picture& picture) {
    window.Ctl("lblOemTitle").SetVisible(false);
    ui::Control& system = window.Ctl("lblSystem");
    system.Move(2, system.Top() - 2, system.Width(), system.Height());
    window.Ctl("picLogo").SetPicture(picture);
}

}  // namespace

void ShowLogo(ProductInfo& product, ProcessPort& process, ui::Form& main) {
    const std::string path = LogoFilePath(product.InstallPath);
    ui::Picture picture;
    // A file that is there but is no bitmap falls back to the drawn title.
    if (FileExists(process, path)) picture = ui::LoadPicture(path);
    product.LogoShown = picture != nullptr;
    if (product.LogoShown) {
        ShowPicture(main, picture);
        return;
    }
    main.Ctl("lblOemTitle").SetCaption(product.VenderName);
    ApplyTitleStyle(product.VenderStyle, main);
}

void CopyLogo(const ProductInfo& product, ui::Form& main, ui::Form& dialog) {
    if (product.LogoShown) {
        ShowPicture(dialog, main.Ctl("picLogo").GetPicture());
        return;
    }
    dialog.Ctl("lblOemTitle").SetCaption(main.Ctl("lblOemTitle").Caption());
    ApplyTitleStyle(product.VenderStyle, dialog);
}

void ApplyTitleStyle(const std::string& venderStyle, ui::Form& window) {
    const std::optional<TitleStyle> style = ParseVenderStyle(venderStyle);
    if (!style) return;
    ui::Control& title = window.Ctl("lblOemTitle");
    ui::Font font = title.GetFont();
    if (style->fontName) font.name = *style->fontName;
    // Both always set: a style digit of 0 makes a bold design font regular.
    font.bold = style->bold;
    font.italic = style->italic;
    if (style->fontSize) font.size = *style->fontSize;
    title.SetFont(font);
    if (style->titleColor) title.SetForeColor(*style->titleColor);
    if (style->systemColor) window.Ctl("lblSystem").SetForeColor(*style->systemColor);
}

void DressDialog(const ProductInfo& product, ui::Form& main, ui::Form& dialog) {
    dialog.Ctl("lblSystem").SetCaption(main.Ctl("lblSystem").Caption());
    dialog.SetCaption(main.Caption());
    CopyLogo(product, main, dialog);
    CentreWindow(dialog);
    CentreIcon(dialog);
}

}  // namespace kv
