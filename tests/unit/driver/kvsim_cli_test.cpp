// kvsim's command line: what each command asks of the driver, and the
// arguments it refuses with a message instead of sending.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/driver/core/kvtouch_driver.h"
#include "sim/kvsim/kvsim_cli.h"

namespace kvsim {
namespace {

Command Parse(std::vector<std::string> args) {
    Command c;
    std::string error;
    EXPECT_TRUE(ParseCommand(args, c, error)) << error;
    return c;
}

std::string Refusal(std::vector<std::string> args) {
    Command c;
    std::string error;
    EXPECT_FALSE(ParseCommand(args, c, error));
    return error;
}

TEST(KvsimCommandLine, TouchesAndStrokes) {
    Command tap = Parse({"touch", "screen", "15", "750"});
    EXPECT_EQ(tap.verb, Verb::Touch);
    EXPECT_EQ(tap.space, KVSIM_SPACE_SCREEN);
    ASSERT_EQ(tap.points.size(), 1u);
    EXPECT_EQ(tap.points[0].X, 15);
    EXPECT_EQ(tap.points[0].Y, 750);
    EXPECT_EQ(tap.points[0].DurationMs, kDefaultTouchMs);

    Command held = Parse({"touch", "raw", "0x3FF", "0", "1500", "--wait"});
    EXPECT_EQ(held.points[0].X, 1023);
    EXPECT_EQ(held.points[0].DurationMs, 1500u);
    EXPECT_TRUE(held.wait);

    Command stroke = Parse({"stroke", "raw", "1", "2", "--ms-per-point", "5", "3", "4"});
    ASSERT_EQ(stroke.points.size(), 2u);
    EXPECT_EQ(stroke.points[1].X, 3);
    EXPECT_EQ(stroke.points[1].Y, 4);
    EXPECT_EQ(stroke.points[0].DurationMs, 5u);
    EXPECT_EQ(Parse({"stroke", "screen", "1", "2"}).points[0].DurationMs, kDefaultMsPerPoint);

    Command down = Parse({"down", "raw", "10", "20"});
    EXPECT_EQ(down.verb, Verb::Down);
    EXPECT_EQ(down.points[0].Y, 20);
    EXPECT_EQ(Parse({"up"}).verb, Verb::Up);
}

TEST(KvsimCommandLine, Settings) {
    struct Case {
        std::vector<std::string> args;
        Verb verb;
        std::int32_t value, value2;
    };
    const Case cases[] = {
        {{"set-port", "0"}, Verb::SetPort, 0, -1},
        {{"wiring", "7"}, Verb::Wiring, 7, -1},
        {{"rotation", "3"}, Verb::Rotation, 3, -1},
        {{"rate", "1000"}, Verb::Rate, 1000, -1},
        {{"screen", "1280", "1024"}, Verb::Screen, 1280, 1024},
        {{"rotator", "0x10064"}, Verb::Rotator, 0x10064, -1},
        {{"rotator", "0xFFFF8000", "2"}, Verb::Rotator, -32768, 2},
        {{"rotator", "none"}, Verb::Rotator, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        Command command = Parse(c.args);
        EXPECT_EQ(command.verb, c.verb);
        EXPECT_EQ(command.value, c.value);
        EXPECT_EQ(command.value2, c.value2);
    }
    EXPECT_TRUE(Parse({"screen", "800", "600", "--driver"}).driverToo);
    const Command cal = Parse({"calibration", "90", "540", "1000", "60", "500", "1023", "5"});
    EXPECT_EQ(cal.verb, Verb::Calibration);
    EXPECT_EQ(std::vector<std::int32_t>(cal.cal, cal.cal + 7),
              (std::vector<std::int32_t>{90, 540, 1000, 60, 500, 1023, 5}));
    EXPECT_EQ(Parse({"log", "17"}).since, 17u);
    EXPECT_EQ(Parse({}).verb, Verb::Help);
}

TEST(KvsimCommandLine, BadArgumentsAreRefusedWithAReason) {
    struct Case {
        std::vector<std::string> args;
        const char* reason;  // a part of the message
    };
    const Case cases[] = {
        {{"tap"}, "unknown command 'tap'"},
        {{"touch", "raw", "1024", "5"}, "bad x '1024'"},
        {{"touch", "raw", "-1", "5"}, "bad x"},
        {{"touch", "raw", "12abc", "5"}, "bad x"},
        {{"touch", "raw", "5"}, "missing y"},
        {{"touch", "pixels", "5", "5"}, "expected 'raw' or 'screen'"},
        {{"touch", "raw", "5", "5", "100", "200"}, "unexpected argument '200'"},
        {{"stroke", "raw", "1", "2", "3"}, "missing y"},
        {{"stroke", "raw"}, "at least one point"},
        {{"stroke", "raw", "1", "2", "--ms-per-point"}, "missing --ms-per-point value"},
        {{"wiring", "8"}, "bad wiring flags '8' (expected 0..7)"},
        {{"rotation", "0x4"}, "bad rotation"},
        {{"rate"}, "missing report rate"},
        {{"screen", "1024"}, "missing height"},
        {{"screen", "1", "768"}, "bad width"},
        {{"set-port", "256"}, "bad port"},
        {{"state", "now"}, "unexpected argument 'now'"},
        {{"move", "raw", "1", "2", "--wait"}, "--wait is an option of touch and stroke"},
        {{"touch", "raw", "1", "2", "--driver"}, "--driver is an option of screen"},
        {{"rate", "10", "--ms-per-point", "3"}, "--ms-per-point is an option of stroke"},
        {{"log", "-3"}, "bad sequence number"},
        {{"calibration", "1", "2", "3", "4", "5", "6"}, "missing flags"},
        {{"calibration", "1", "2", "1024", "4", "5", "6", "0"}, "bad RightX '1024'"},
        {{"calibration", "1", "2", "3", "4", "5", "6", "8"}, "bad flags"},
    };
    for (const auto& c : cases) {
        std::string error = Refusal(c.args);
        EXPECT_NE(error.find(c.reason), std::string::npos) << "got: " << error;
    }
    std::vector<std::string> longStroke{"stroke", "raw"};
    for (int i = 0; i <= KVSIM_MAX_STROKE_POINTS; ++i) {
        longStroke.push_back("1");
        longStroke.push_back("1");
    }
    EXPECT_NE(Refusal(longStroke).find("at most 256 points"), std::string::npos);
}

TEST(KvsimOutput, TheStateIsOneKeyValuePairPerLine) {
    auto driver = std::make_unique<KvDriver>();
    kvd_init(driver.get(), 0);
    kvd_pen_down(driver.get(), 0, 100, 200, 0, 1);
    KvSimState state;
    kvd_read_state(driver.get(), 120, &state);
    std::string text = FormatState(state);
    for (const char* line :
         {"\ndetected_port=1\n", "\ntouch_mode=4\n", "\ncal_data=32,511,991,32,511,991\n",
          "\nraw_x=100\n", "\npen_down=1\n", "\nreport_count=13\n", "\nagent_window=-1\n",
          "\nrequests.SetTouchMode=0\n", "\ncom_ports=0x3F8/4,0x2F8/3,"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.substr(0, 13), "driver_ms=120");
    EXPECT_EQ(text.back(), '\n');
}

TEST(KvsimOutput, LogEntriesNameTheirEventAndValues) {
    KvSimLogEntry set{4, 250, KVSIM_LOG_SET_REQUEST, KV_IOCTL_SET_SOUND, {3, 1500, 25, 0, 0, 0, 0, 1}};
    EXPECT_EQ(FormatLogEntry(set),
              "seq=4 ms=250 event=SetSound sound_mode=3 tone=1500 duration=25 untouched_intact=1");
    KvSimLogEntry rb{5, 260, KVSIM_LOG_RIGHT_BUTTON, 0, {300, 400, 250, 300, 65636, 0, 0, 0}};
    EXPECT_EQ(FormatLogEntry(rb), "seq=5 ms=260 event=RightButtonTouch raw_x=300 raw_y=400 "
                                  "mapped_x=250 mapped_y=300 agent_window=65636");
    KvSimLogEntry setting{1, 0, KVSIM_LOG_INITIAL_SETTING, KVD_SETTING_MOUSE_SPEED, {0, 4, 3}};
    EXPECT_EQ(FormatLogEntry(setting),
              "seq=1 ms=0 event=InitialSetting name=MouseSpeed accepted=0 type=4 length=3");
    EXPECT_EQ(RequestName(0xF20A0), "SetCalibration");
    EXPECT_EQ(RequestName(0xF2020), "0xF2020");
}

}  // namespace
}  // namespace kvsim
