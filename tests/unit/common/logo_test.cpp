// Window headers and dialog dressing on headless forms: the logo or the
// styled vendor title, copied to dialogs, and the dialogs centred.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/branding/logo.h"
#include "common/branding/product_info.h"
#include "common/winutil/form_placement.h"
#include "tests/fakes/fake_process.h"
#include "ui/form.h"
#include "ui/headless.h"

namespace kv {
namespace {

using ui::ControlKind;
using ui::Rgb;

const ui::Color kDesignRed = Rgb(0xFF, 0, 0);
const ui::Color kDesignBlue = Rgb(0, 0, 0xFF);

// The header controls as every branded window has them.
void AddHeader(ui::Form& form) {
    ui::Control& logo = form.Add(ControlKind::PictureBox, "picLogo");
    logo.Move(480, 360, 4740, 780);
    ui::Control& title = form.Add(ControlKind::Label, "lblOemTitle", -1, &logo);
    title.Move(0, 0, 4000, 500);
    title.SetCaption("Halvane");
    title.SetFont({"Times New Roman", 20.25, true, false});
    title.SetForeColor(kDesignRed);
    ui::Control& system = form.Add(ControlKind::Label, "lblSystem", -1, &logo);
    system.Move(0, 600, 4000, 195);
    system.SetCaption("TouchScreen Control Panel Version 7.0.PS2");
    system.SetFont({"MS Sans Serif", 8.25, true, false});
    system.SetForeColor(kDesignBlue);
    ui::Control& iconBox = form.Add(ControlKind::PictureBox, "picIcon");
    iconBox.Move(5280, 360, 780, 780);
    iconBox.SetBorderStyle(1);
    form.Add(ControlKind::Image, "imgIcon", -1, &iconBox).Move(0, 0, 480, 480);
}

void WriteBitmap(const std::string& path, int width, int height) {
    unsigned char header[58] = {'B', 'M'};
    header[10] = 54;
    header[14] = 40;
    header[18] = static_cast<unsigned char>(width);
    header[22] = static_cast<unsigned char>(height);
    header[26] = 1;
    header[28] = 24;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(header, 1, sizeof header, f);
    std::fclose(f);
}

class Header : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Headless().Reset();
        AddHeader(main);
        main.SetCaption(" TouchScreen Control Panel #KV-PS2");
        AddHeader(dialog);
        dialog.Ctl("lblSystem").SetCaption("TouchScreen Control Panel Version ");
        product.VenderName = "Acme Touch";
        // The install folder is a real one so that the headless platform
        // can read the bitmap; "\KVLogo.Bmp" is then part of a file name.
        product.InstallPath = ::testing::TempDir() + "h2-logo-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        logoPath = product.InstallPath + "\\KVLogo.Bmp";
    }
    void TearDown() override { std::remove(logoPath.c_str()); }

    void PutLogo() {
        WriteBitmap(logoPath, 64, 32);
        process.AddFile(logoPath);
    }

    ui::Form main{"frmMain"};
    ui::Form dialog{"frmMouseSpeed"};
    ProductInfo product;
    FakeProcess process;
    std::string logoPath;
};

TEST_F(Header, WithoutALogoTheTitleShowsTheVendorNameInItsStyle) {
    product.VenderStyle = "13200912";
    ShowLogo(product, process, main);
    EXPECT_FALSE(product.LogoShown);
    const ui::Control& title = main.Ctl("lblOemTitle");
    EXPECT_TRUE(title.Visible());
    EXPECT_EQ(title.Caption(), "Acme Touch");
    EXPECT_EQ(title.GetFont(), (ui::Font{"Times New Roman", 20, true, true}));
    EXPECT_EQ(title.ForeColor(), Rgb(0, 0, 0xFF));                    // light blue
    EXPECT_EQ(main.Ctl("lblSystem").ForeColor(), Rgb(0xFF, 0, 0));    // light red
    EXPECT_EQ(main.Ctl("lblSystem").GetFont().name, "MS Sans Serif");  // never restyled
    EXPECT_EQ(main.Ctl("picLogo").GetPicture(), nullptr);
}

TEST_F(Header, AShortStyleChangesOnlyTheCaption) {
    product.VenderStyle = "2";
    ShowLogo(product, process, main);
    const ui::Control& title = main.Ctl("lblOemTitle");
    EXPECT_EQ(title.Caption(), "Acme Touch");
    EXPECT_EQ(title.GetFont(), (ui::Font{"Times New Roman", 20.25, true, false}));
    EXPECT_EQ(title.ForeColor(), kDesignRed);
    EXPECT_EQ(main.Ctl("lblSystem").ForeColor(), kDesignBlue);
}

TEST_F(Header, AStyleDigitOfZeroMakesTheBoldDesignFontRegular) {
    product.VenderStyle = "9000  00";
    ShowLogo(product, process, main);
    const ui::Control& title = main.Ctl("lblOemTitle");
    EXPECT_EQ(title.GetFont(), (ui::Font{"Times New Roman", 20.25, false, false}));
    EXPECT_EQ(title.ForeColor(), ui::kBlack);
    EXPECT_EQ(main.Ctl("lblSystem").ForeColor(), ui::kBlack);
}

TEST_F(Header, ColourIndicesOutsideThePaletteKeepTheDesignColours) {
    ApplyTitleStyle("21121699", main);
    EXPECT_EQ(main.Ctl("lblOemTitle").GetFont(), (ui::Font{"Arial", 12, true, false}));
    EXPECT_EQ(main.Ctl("lblOemTitle").ForeColor(), kDesignRed);
    EXPECT_EQ(main.Ctl("lblSystem").ForeColor(), kDesignBlue);
}

TEST_F(Header, TheLogoReplacesTheTitleAndTheSystemLineMovesIntoTheCorner) {
    PutLogo();
    product.VenderStyle = "13200912";
    ShowLogo(product, process, main);
    EXPECT_TRUE(product.LogoShown);
    EXPECT_FALSE(main.Ctl("lblOemTitle").Visible());
    EXPECT_EQ(main.Ctl("lblOemTitle").Caption(), "Halvane");
    EXPECT_EQ(main.Ctl("lblSystem").Left(), 2);
    EXPECT_EQ(main.Ctl("lblSystem").Top(), 598);
    EXPECT_EQ(main.Ctl("lblSystem").ForeColor(), kDesignBlue);  // no title style with a logo
    const ui::Picture& picture = main.Ctl("picLogo").GetPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->source, logoPath);
    EXPECT_EQ(picture->widthPx, 64);
}

TEST_F(Header, ALogoFileThatIsNoBitmapFallsBackToTheTitle) {
    std::FILE* f = std::fopen(logoPath.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a bitmap", f);
    std::fclose(f);
    process.AddFile(logoPath);
    ShowLogo(product, process, main);
    EXPECT_FALSE(product.LogoShown);
    EXPECT_TRUE(main.Ctl("lblOemTitle").Visible());
    EXPECT_EQ(main.Ctl("lblOemTitle").Caption(), "Acme Touch");
    EXPECT_EQ(main.Ctl("lblSystem").Top(), 600);
}

TEST_F(Header, DialogsKeepShowingTheLogoAfterItsFileIsGone) {
    PutLogo();
    ShowLogo(product, process, main);
    std::remove(logoPath.c_str());
    process.RemoveFile(logoPath);
    process.fileQueries.clear();
    CopyLogo(product, main, dialog);
    EXPECT_TRUE(process.fileQueries.empty());  // dialogs do not look again
    EXPECT_EQ(dialog.Ctl("picLogo").GetPicture(), main.Ctl("picLogo").GetPicture());
    EXPECT_FALSE(dialog.Ctl("lblOemTitle").Visible());
    EXPECT_EQ(dialog.Ctl("lblSystem").Left(), 2);
    EXPECT_EQ(dialog.Ctl("lblSystem").Top(), 598);
}

TEST_F(Header, DialogsCopyTheMainTitleAndRestyleIt) {
    product.VenderStyle = "21160303";
    ShowLogo(product, process, main);
    CopyLogo(product, main, dialog);
    const ui::Control& title = dialog.Ctl("lblOemTitle");
    EXPECT_TRUE(title.Visible());
    EXPECT_EQ(title.Caption(), "Acme Touch");
    EXPECT_EQ(title.GetFont(), (ui::Font{"Arial", 16, true, false}));
    EXPECT_EQ(title.ForeColor(), Rgb(0, 0x80, 0x80));  // cyan
    EXPECT_EQ(dialog.Ctl("lblSystem").ForeColor(), Rgb(0, 0x80, 0x80));
    EXPECT_EQ(dialog.Ctl("picLogo").GetPicture(), nullptr);
}

TEST_F(Header, DressDialogTakesSystemLineAndCaptionFromMainAndCentres) {
    ShowLogo(product, process, main);
    dialog.Move(0, 0, 4800, 3600);
    DressDialog(product, main, dialog);
    EXPECT_EQ(dialog.Ctl("lblSystem").Caption(), "TouchScreen Control Panel Version 7.0.PS2");
    EXPECT_EQ(dialog.Caption(), " TouchScreen Control Panel #KV-PS2");
    EXPECT_EQ(dialog.Ctl("lblOemTitle").Caption(), "Acme Touch");
    // 1024 x 768 pixels at 15 twips: 7680 - 2400 across, 4896 - 1800 down.
    EXPECT_EQ(dialog.Left(), 5280);
    EXPECT_EQ(dialog.Top(), 3096);
    EXPECT_EQ(dialog.Width(), 4800);
    EXPECT_EQ(dialog.Height(), 3600);
    // The icon box has a 2-pixel sunken edge: 720 twips inside.
    EXPECT_EQ(dialog.Ctl("imgIcon").Left(), 120);
    EXPECT_EQ(dialog.Ctl("imgIcon").Top(), 120);
}

TEST_F(Header, CentreWindowFollowsTheScreenSize) {
    ui::Headless().SetScreenPixels(800, 600);  // 12000 x 9000 twips
    main.Move(100, 100, 6000, 4000);
    CentreWindow(main);
    EXPECT_EQ(main.Left(), 3000);
    EXPECT_EQ(main.Top(), 1825);
}

TEST_F(Header, ReturnToMainShowsTheMainWindowAndActivatesIt) {
    main.Load();
    dialog.Show();
    main.Hide();
    ReturnToMain(main);
    EXPECT_TRUE(main.Visible());
    EXPECT_EQ(ui::ActiveForm(), &main);
    main.Unload();
    dialog.Unload();
}

}  // namespace
}  // namespace kv
