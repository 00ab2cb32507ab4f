// The main window's summary lines, character for character.
#include <gtest/gtest.h>

#include <string>

#include "common/summaries/name_lists.h"
#include "common/summaries/summaries.h"

namespace kv {
namespace {

struct TouchCase {
    int mode, rbf, autoMode;
    const char* expected;
};

TEST(TouchModeSummary, NamesTheModeAndTheRightButtonFunction) {
    const TouchCase cases[] = {
        {4, 1, 1, "Drag Drop Mode, RBF Enable ( Automatic Mode )"},
        {4, 1, 0, "Drag Drop Mode, RBF Enable ( Manual Mode )"},
        // Anything but 1 is manual.
        {4, 1, 2, "Drag Drop Mode, RBF Enable ( Manual Mode )"},
        {4, 0, 1, "Drag Drop Mode, RBF Disable"},
        // Modes 1..3 never show the automatic part, whatever the byte holds.
        {1, 1, 1, "Stream Mode, RBF Enable"},
        {2, 1, 1, "Lift Off Mode, RBF Enable"},
        {3, 1, 0, "Touch Down Mode, RBF Enable"},
        {3, 0, 1, "Touch Down Mode, RBF Disable"},
        // Any non-zero right-button byte enables.
        {2, 255, 0, "Lift Off Mode, RBF Enable"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TouchModeSummary(c.mode, c.rbf, c.autoMode), c.expected)
            << "mode " << c.mode << " rbf " << c.rbf << " auto " << c.autoMode;
}

TEST(TouchModeSummary, AnUnknownModeShowsAllThreeBytesAndNothingElse) {
    EXPECT_EQ(TouchModeSummary(7, 1, 0), "Invalid#7,1,0");
    EXPECT_EQ(TouchModeSummary(0, 0, 0), "Invalid#0,0,0");
    EXPECT_EQ(TouchModeSummary(0, 1, 1), "Invalid#0,1,1");
    EXPECT_EQ(TouchModeSummary(5, 0, 1), "Invalid#5,0,1");
    // Bytes are unsigned: no minus sign for 255.
    EXPECT_EQ(TouchModeSummary(255, 255, 255), "Invalid#255,255,255");
}

TEST(ListNames, EveryListNamesOneToFourAndRefusesTheRest) {
    const char* sound[] = {"Silence ( No Sound )", "Touch Down Only", "Lift Off Only",
                           "Both Touch Down && Lift Off"};
    const char* accel[] = {"Slow", "Medium", "Fast", "Off"};
    for (int v = 1; v <= 4; ++v) {
        EXPECT_EQ(SoundModeName(v), sound[v - 1]) << v;
        EXPECT_EQ(AccelerationName(v), accel[v - 1]) << v;
    }
    for (int v : {0, 5, 200, 255}) {
        EXPECT_EQ(SoundModeName(v), "Invalid#" + std::to_string(v));
        EXPECT_EQ(AccelerationName(v), "Invalid#" + std::to_string(v));
    }
}

TEST(ListNames, SharedListsHoldTheControlPanelEntries) {
    EXPECT_EQ(NameAt(kTouchModeNames, 1), "Stream Mode");
    EXPECT_EQ(NameAt(kTouchModeNames, 4), "Drag Drop Mode");
    EXPECT_EQ(NameAt(kSoundModeNames, 4), "Both Touch Down && Lift Off");
    EXPECT_EQ(NameAt(kAccelerationNames, 2), "Medium");
    EXPECT_FALSE(IsListed(0));
    EXPECT_TRUE(IsListed(4));
    EXPECT_FALSE(IsListed(5));
}

TEST(MouseSpeedSummary, ShowsBothSpeedsInPercentAndTheAcceleration) {
    EXPECT_EQ(MouseSpeedSummary(10, 20, 1, 0), "HS=50%, VS=100%, Acceleration=Slow");
    EXPECT_EQ(MouseSpeedSummary(1, 1, 4, 0), "HS=5%, VS=5%, Acceleration=Off");
    EXPECT_EQ(MouseSpeedSummary(0, 0, 3, 0), "HS=0%, VS=0%, Acceleration=Fast");
    // Out-of-range speeds are shown as they are, not wrapped to a byte.
    EXPECT_EQ(MouseSpeedSummary(255, 60, 2, 0), "HS=1275%, VS=300%, Acceleration=Medium");
    EXPECT_EQ(MouseSpeedSummary(10, 10, 0, 0), "HS=50%, VS=50%, Acceleration=Invalid#0");
    EXPECT_EQ(MouseSpeedSummary(10, 10, 9, 0), "HS=50%, VS=50%, Acceleration=Invalid#9");
}

TEST(MouseSpeedSummary, BypassIgnoresSpeedsAndAccelerationEvenInvalidOnes) {
    EXPECT_EQ(MouseSpeedSummary(10, 10, 1, 1), "Enable Bypass Mode");
    EXPECT_EQ(MouseSpeedSummary(0, 255, 0, 1), "Enable Bypass Mode");
    EXPECT_EQ(MouseSpeedSummary(3, 4, 77, 2), "Enable Bypass Mode");
}

}  // namespace
}  // namespace kv
