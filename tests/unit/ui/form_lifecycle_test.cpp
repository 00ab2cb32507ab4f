// Forms: control lookup and arrays, load/show/unload order, design state,
// geometry, docking, pictures and drawing on the headless back end.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless.h"

using namespace kv::ui;

namespace {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { Headless().Reset(); }
    std::vector<std::string> log;
    void Record(Form& f) {
        f.OnLoad = [this] { log.push_back("Load"); };
        f.OnResize = [this] { log.push_back("Resize"); };
        f.OnActivate = [this] { log.push_back("Activate"); };
        f.OnUnload = [this] { log.push_back("Unload"); };
    }
};

TEST_F(FormTest, ControlArraysAreFoundByNameAndIndex) {
    Form f("frmMouseSpeed");
    for (int i : {4, 1, 3, 2}) f.Add(ControlKind::OptionButton, "optAcceleration", i);
    f.Add(ControlKind::CommandButton, "cmdApply");
    EXPECT_EQ(f.Ctl("optAcceleration", 3).DesignName(), "optAcceleration(3)");
    EXPECT_EQ(f.Ctl("optAcceleration", 3).Index(), 3);
    EXPECT_EQ(f.Ctl("cmdApply").Index(), -1);
    EXPECT_EQ(f.Ctl("cmdApply").DesignName(), "cmdApply");
    EXPECT_EQ(f.LBound("optAcceleration"), 1);
    EXPECT_EQ(f.UBound("optAcceleration"), 4);
    std::vector<int> order;
    for (Control* c : f.Array("optAcceleration")) order.push_back(c->Index());
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(f.Find("optAcceleration"), nullptr) << "the array name alone is no control";
    EXPECT_EQ(&f.Add(ControlKind::OptionButton, "optAcceleration", 2), &f.Ctl("optAcceleration", 2));
    EXPECT_EQ(f.Controls().size(), 5u);
    try {
        f.Ctl("optAcceleration", 5);
        FAIL() << "a missing element must not be invented";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "no control frmMouseSpeed.optAcceleration(5)");
    }
}

TEST_F(FormTest, ShowLoadsResizesAndActivatesInThatOrder) {
    Form f("frmMain");
    Record(f);
    f.Load();
    f.Load();
    EXPECT_TRUE(f.Loaded());
    EXPECT_FALSE(f.Visible());
    f.Show();
    f.Show();  // already active: nothing more
    EXPECT_EQ(log, (std::vector<std::string>{"Load", "Resize", "Activate"}));
    EXPECT_EQ(ActiveForm(), &f);
    EXPECT_NE(f.Handle(), 0);
}

TEST_F(FormTest, ActivateFiresAgainOnlyWhenAnotherFormWasActive) {
    Form main("frmMain"), dialog("frmMouseSpeed");
    int mainActivations = 0;
    main.OnActivate = [&] { ++mainActivations; };
    main.Show();
    main.UserActivate();  // the window system reports the same activation
    EXPECT_EQ(mainActivations, 1);
    dialog.Show();
    main.Hide();
    dialog.Unload();
    main.Show();
    EXPECT_EQ(mainActivations, 2);
}

// A window system that activates and sizes a window while showing it, as
// Win32 does inside ShowWindow.
class EagerPeer : public HeadlessPeer {
public:
    using HeadlessPeer::HeadlessPeer;
    void Changed(Control* control, Prop what) override {
        if (control == nullptr && what == Prop::Visible && form().Visible()) {
            form().UserActivate();
            form().PeerGeometry(0, 0, 15000, 12000, 15000, 12000);
        }
    }
    Form& form() { return *form_; }
    Form* form_ = nullptr;
};

class EagerPlatform : public HeadlessPlatform {
public:
    std::unique_ptr<FormPeer> CreatePeer(Form& f) override {
        auto peer = std::make_unique<EagerPeer>(f, 0x5000);
        peer->form_ = &f;
        return peer;
    }
};

TEST_F(FormTest, AWindowActivatedWhileShownStillSeesResizeBeforeActivate) {
    EagerPlatform eager;
    SetPlatform(&eager);
    Form f("frmCalibration");
    Record(f);
    f.OnResize = [&] { log.push_back("Resize " + std::to_string(f.ScaleWidth())); };
    f.Show();
    SetPlatform(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"Load", "Resize 15000", "Activate"}));
    f.Unload();
}

TEST_F(FormTest, UnloadFiresOnceEvenWhenTheHandlerUnloadsAgain) {
    Form f("frmFeedbackSound");
    int unloads = 0;
    f.OnUnload = [&] {
        ++unloads;
        f.Unload();
    };
    f.Show();
    f.Unload();
    f.Unload();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(f.Loaded());
    EXPECT_EQ(f.Handle(), 0);
    EXPECT_EQ(ActiveForm(), nullptr);
    EXPECT_TRUE(LoadedForms().empty());
}

TEST_F(FormTest, UnloadInsideAClickHandlerIsSafe) {
    Form f("frmSupport");
    Control& ok = f.Add(ControlKind::CommandButton, "cmdOK");
    int unloads = 0;
    f.OnUnload = [&] { ++unloads; };
    ok.Click = [&] { f.Unload(); };
    f.Show();
    ok.UserClick();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(f.Loaded());
}

TEST_F(FormTest, ALoadHandlerThatUnloadsStopsTheShow) {
    Form f("frmMain");
    Record(f);
    f.OnLoad = [&] {
        log.push_back("Load");
        f.Unload();
    };
    f.Show();
    EXPECT_EQ(log, (std::vector<std::string>{"Load", "Unload"}));
    EXPECT_FALSE(f.Visible());
}

TEST_F(FormTest, ReloadStartsFromTheDesignState) {
    Form f("frmMouseSpeed");
    f.SetCaption("Mouse Speed");
    Control& hsc = f.Add(ControlKind::HScrollBar, "hscMouseHSpeed");
    hsc.SetMin(1);
    hsc.SetMax(20);
    Control& lbl = f.Add(ControlKind::Label, "lblHS");
    lbl.SetCaption("100%");
    int changes = 0;
    hsc.Change = [&] { ++changes; };
    f.OnLoad = [&] { hsc.SetValue(10); };

    f.Show();
    f.SetCaption(" TouchScreen Control Panel #KV-PS2");
    lbl.SetCaption("50%");
    lbl.SetForeColor(kBlack);
    f.Unload();
    EXPECT_EQ(f.Caption(), "Mouse Speed");
    EXPECT_EQ(lbl.Caption(), "100%");
    EXPECT_EQ(hsc.Value(), 1);
    EXPECT_EQ(lbl.ForeColor(), kSysButtonText);

    // The same stored value fires Change again on the second load.
    f.Show();
    EXPECT_EQ(changes, 2);
    f.Unload();
}

TEST_F(FormTest, OuterAndClientSizeDifferByTheFrame) {
    Headless().SetFrameTwips(90, 450);
    Form f("frmMain");
    f.SetClientSize(6645, 5520);
    EXPECT_EQ(f.Width(), 6735);
    EXPECT_EQ(f.Height(), 5970);
    f.SetHeight(f.Height() - 600);
    EXPECT_EQ(f.ScaleHeight(), 4920);
    f.SetBorderStyle(kBorderNone);  // the drawn client area stays
    EXPECT_EQ(f.Width(), 6645);
    EXPECT_EQ(f.ScaleWidth(), 6645);
}

TEST_F(FormTest, MaximisedBorderlessFormFillsTheScreenAndResizesOnce) {
    Headless().SetScreenPixels(1280, 1024);
    Form f("frmCalibration");
    f.SetBorderStyle(kBorderNone);
    f.SetWindowState(kWindowMaximized);
    Control& head = f.Add(ControlKind::PictureBox, "picHead");
    Control& foot = f.Add(ControlKind::PictureBox, "picMesg");
    head.SetHeight(600);
    foot.SetHeight(450);
    head.SetAlign(kDockTop);
    foot.SetAlign(kDockBottom);
    int resizes = 0, footResizes = 0;
    f.OnResize = [&] { ++resizes; };
    foot.Resize = [&] { ++footResizes; };
    f.Show();
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(f.ScaleWidth(), 1280 * 15);
    EXPECT_EQ(f.ScaleHeight(), 1024 * 15);
    EXPECT_EQ(head.Top(), 0);
    EXPECT_EQ(head.Width(), 1280 * 15);
    EXPECT_EQ(foot.Top(), 1024 * 15 - 450);
    EXPECT_EQ(footResizes, 1);
}

TEST_F(FormTest, PixelContainersMeasureTheirChildrenInPixels) {
    Headless().SetTwipsPerPixel(12);  // 120 DPI
    Form f("frmCalibration");
    Control& surface = f.Add(ControlKind::PictureBox, "picCalibration");
    surface.SetBorderStyle(0);
    surface.SetScaleMode(kScalePixels);
    surface.Move(0, 0, 1024 * 12, 768 * 12);
    Control& home = f.Add(ControlKind::PictureBox, "picHome", -1, &surface);
    home.SetScaleMode(kScalePixels);
    home.Move(0, 0, 300, 200);  // pixels of picCalibration
    EXPECT_EQ(surface.ScaleWidth(), 1024);
    EXPECT_EQ(surface.ScaleHeight(), 768);
    EXPECT_EQ(home.ScaleWidth(), 300 - 4) << "the sunken border takes two pixels each side";
    EXPECT_EQ(home.ContainerUnitTwips(true), 12);
}

std::string WriteBitmap(const std::string& name, int w, int h, bool core) {
    std::string path = ::testing::TempDir() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    unsigned char b[54] = {'B', 'M'};
    if (core) {
        b[14] = 12;
        b[18] = w & 0xFF;
        b[19] = (w >> 8) & 0xFF;
        b[20] = h & 0xFF;
        b[21] = (h >> 8) & 0xFF;
    } else {
        b[14] = 40;
        for (int i = 0; i < 4; ++i) {
            b[18 + i] = (w >> (8 * i)) & 0xFF;
            b[22 + i] = (h >> (8 * i)) & 0xFF;
        }
    }
    std::fwrite(b, 1, sizeof b, f);
    std::fclose(f);
    return path;
}

TEST_F(FormTest, BitmapSizesComeFromTheFileHeader) {
    int w = 0, h = 0;
    EXPECT_TRUE(ReadBitmapSize(WriteBitmap("info.bmp", 320, 200, false), &w, &h));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    EXPECT_TRUE(ReadBitmapSize(WriteBitmap("topdown.bmp", 64, -48, false), &w, &h));
    EXPECT_EQ(h, 48) << "a top-down bitmap stores a negative height";
    EXPECT_TRUE(ReadBitmapSize(WriteBitmap("core.bmp", 40, 30, true), &w, &h));
    EXPECT_EQ(w, 40);
    EXPECT_FALSE(ReadBitmapSize(WriteBitmap("empty.bmp", 0, 30, false), &w, &h));
    EXPECT_FALSE(ReadBitmapSize(::testing::TempDir() + "missing.bmp", &w, &h));
    EXPECT_FALSE(ReadBitmapSize("", &w, &h));
    std::string text = ::testing::TempDir() + "text.bmp";
    std::FILE* f = std::fopen(text.c_str(), "wb");
    std::fputs("not a bitmap at all, but long enough", f);
    std::fclose(f);
    EXPECT_FALSE(ReadBitmapSize(text, &w, &h));
}

TEST_F(FormTest, ACopiedPictureOutlivesItsFile) {
    std::string path = WriteBitmap("KVLogo.Bmp", 316, 52, false);
    Form main("frmMain"), dialog("frmMouseSpeed");
    Control& logo = main.Add(ControlKind::PictureBox, "picLogo");
    logo.SetAutoSize(true);
    logo.SetPicture(LoadPicture(path));
    ASSERT_TRUE(logo.GetPicture());
    EXPECT_EQ(logo.Width(), (316 + 4) * 15);
    std::remove(path.c_str());
    EXPECT_EQ(LoadPicture(path), nullptr);
    Control& copy = dialog.Add(ControlKind::PictureBox, "picLogo");
    copy.SetPicture(logo.GetPicture());
    EXPECT_EQ(copy.GetPicture().get(), logo.GetPicture().get());
    EXPECT_EQ(copy.Width(), 1215) << "without AutoSize the box keeps its size";

    Headless().AddResource(101, PictureData::Type::Icon, 32, 32);
    Control& icon = main.Add(ControlKind::Image, "imgIcon");
    icon.SetPicture(Platform().LoadResPicture(101, PictureData::Type::Icon));
    EXPECT_EQ(icon.Width(), 480) << "an image takes its picture's size";
    EXPECT_EQ(Platform().LoadResPicture(101, PictureData::Type::Bitmap), nullptr);
}

TEST_F(FormTest, DrawingIsRecordedUntilCleared) {
    Form f("frmTest");
    Control& page = f.Add(ControlKind::PictureBox, "picHome");
    page.SetScaleMode(kScalePixels);
    f.Load();
    auto* peer = static_cast<HeadlessPeer*>(f.Peer());
    page.SetDrawWidth(2);
    page.PSet(10, 10, kBlack);
    page.LineTo(20, 15, Rgb(0, 0, 255));
    EXPECT_EQ(page.CurrentX(), 20);
    EXPECT_EQ(page.CurrentY(), 15);
    const auto& ops = peer->Drawing(page);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[1].kind, DrawOp::Kind::Line);
    EXPECT_EQ(ops[1].x1, 10);
    EXPECT_EQ(ops[1].color, 0xFF0000u);
    EXPECT_EQ(ops[1].width, 2);
    page.Cls();
    EXPECT_TRUE(peer->Drawing(page).empty());
    EXPECT_EQ(page.CurrentX(), 0);
    f.Unload();
}

TEST_F(FormTest, DoEventsRunsTheTestsHook) {
    int pending = 3;
    Headless().SetDoEventsHook([&] { --pending; });
    while (pending > 0) DoEvents();
    EXPECT_EQ(Headless().DoEventsCount(), 3);
    EXPECT_EQ(ScreenWidthTwips(), 1024 * 15);
}

}  // namespace
