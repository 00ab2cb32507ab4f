// The support window sized around the vendor's bitmap, and the About
// window's contents.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

// A 24-bit bitmap file of the given size.
void WriteBitmap(const std::string& path, int width, int height) {
    const int row = (width * 3 + 3) & ~3;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(row * height);
    std::vector<std::uint8_t> file(54 + dataSize, 0x80);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        file[at] = static_cast<std::uint8_t>(v);
        file[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, 54 + dataSize);
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(30, 0);
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    put32(46, 0);
    put32(50, 0);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
}

class SupportTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The installation folder is a real folder here, so the headless
        // platform can read the bitmap the main window names.
        folder_ = ::testing::TempDir() + "kvpanel_support";
        registry.SetString(kHkeyLocalMachine, kProductKey, "InstallPath", folder_);
        bitmap_ = folder_ + "\\KVVender.Bmp";
    }
    void TearDown() override {
        PanelTest::TearDown();
        std::remove(bitmap_.c_str());
    }
    ui::Form& OpenSupport(int width, int height) {
        WriteBitmap(bitmap_, width, height);
        process.AddFile(bitmap_);
        StartShown();
        MainCtl("cmdSupport").UserClick();
        ui::Form& support = program->Support();
        EXPECT_TRUE(support.Visible());
        return support;
    }
    std::string folder_, bitmap_;
};

TEST_F(SupportTest, WindowIsSizedAroundTheBitmapWithTheButtonCentredBelow) {
    ui::Form& s = OpenSupport(200, 100);
    EXPECT_EQ(s.Caption(), " TouchScreen Control Panel #KV-PS2");
    ui::Control& picture = s.Ctl("picSupport");
    ASSERT_TRUE(picture.GetPicture());
    EXPECT_EQ(picture.Width(), 3000);
    EXPECT_EQ(picture.Height(), 1500);
    EXPECT_EQ(picture.Left(), 0);
    EXPECT_EQ(picture.Top(), 60);
    // Client: picture + 2 x 0 wide; picture + 5 x 60 + button high.
    ui::Control& ok = s.Ctl("cmdOK");
    EXPECT_EQ(s.ScaleWidth(), 3000);
    EXPECT_EQ(s.ScaleHeight(), 1500 + 300 + ok.Height());
    EXPECT_EQ(ok.Top(), 180 + 1500);
    EXPECT_EQ(ok.Left(), (3000 - ok.Width()) / 2);
    EXPECT_EQ(s.Left(), 7680 - s.Width() / 2);
    EXPECT_EQ(s.Top(), 4896 - s.Height() / 2);
    EXPECT_FALSE(Main().Visible());

    ok.UserClick();
    EXPECT_FALSE(s.Loaded());
    EXPECT_TRUE(Main().Visible());
}

TEST_F(SupportTest, ANarrowBitmapStillLeavesRoomForTheButton) {
    ui::Form& s = OpenSupport(20, 40);
    ui::Control& ok = s.Ctl("cmdOK");
    EXPECT_GE(ok.Left(), 0);
    EXPECT_LE(ok.Left() + ok.Width(), s.ScaleWidth());
}

TEST_F(PanelTest, AboutKeepsItsCaptionAndShowsVersionRightsAndBranding) {
    registry.SetString(kHkeyLocalMachine, kProductKey, "VenderName", "Acme Touch");
    registry.SetString(kHkeyLocalMachine, kProductKey, "VenderStyle", "13200912");
    StartShown();
    MainCtl("cmdSupport").UserClick();  // no vendor bitmap: "&About"
    ui::Form& about = program->About();
    ASSERT_TRUE(about.Visible());
    EXPECT_EQ(about.Caption(), " About");
    EXPECT_EQ(about.Ctl("lblSystem").Caption(), "TouchScreen Control Panel Version 7.0.PS2");
    EXPECT_EQ(about.Ctl("lblOemTitle").Caption(), "Acme Touch");
    EXPECT_EQ(about.Ctl("lblOemTitle").GetFont().name, "Times New Roman");
    EXPECT_TRUE(about.Ctl("lblOemTitle").GetFont().italic);
    EXPECT_EQ(about.Ctl("lblOemTitle").ForeColor(), 0xFF0000u);  // light blue
    EXPECT_EQ(about.Ctl("lblRights").Caption(), kRightsNotice);
    EXPECT_EQ(about.Left(), 7680 - about.Width() / 2);
    about.Ctl("cmdOK").UserClick();
    EXPECT_TRUE(Main().Visible());
}

}  // namespace
}  // namespace kv::panel::test
