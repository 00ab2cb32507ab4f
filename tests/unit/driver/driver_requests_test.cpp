// The driver's answers to the product's requests: whole blocks, exact
// lengths, nothing written where it must not be, each Set request taking
// only its own fields.
#include <utility>

#include "tests/unit/driver/driver_test_support.h"

namespace kvtest {
namespace {

struct RequestSize {
    std::uint32_t code;
    std::uint32_t size;
};

const RequestSize kProductRequests[] = {
    {KV_IOCTL_GET_PARAMS, 82},        {KV_IOCTL_GET_TOUCH_STATE, 8},
    {KV_IOCTL_CALIBRATION_SIGNAL, 4}, {KV_IOCTL_SET_TOUCH_MODE, 82},
    {KV_IOCTL_SET_SOUND, 82},         {KV_IOCTL_SET_MOUSE_SPEED, 82},
    {KV_IOCTL_SET_CALIBRATION, 82},   {KV_IOCTL_SET_SCREEN_SIZE, 82},
    {KV_IOCTL_GET_AGENT_WINDOW, 8},   {KV_IOCTL_SET_AGENT_WINDOW, 8},
    {KV_IOCTL_GET_ROTATOR_WINDOW, 8}, {KV_IOCTL_SOUND_TEST, 4},
};

using DriverRequests = DriverTest;

TEST_F(DriverRequests, GetParamsGivesTheWholeBlockWithTheDriverOnlyFieldsFilled) {
    GuardedBuffer buffer(82, 0xEE);  // whatever the caller held is ignored
    std::uint32_t returned = 0;
    ASSERT_EQ(Send(KV_IOCTL_GET_PARAMS, buffer.data(), 82, 82, &returned), KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, 82u);
    EXPECT_TRUE(buffer.GuardsIntact());
    const std::uint8_t* b = buffer.data();
    EXPECT_EQ(b[0], 0x4B);
    EXPECT_EQ(b[1], 0x56);
    EXPECT_EQ(b[2], 0x54);
    EXPECT_EQ(b[52], 0x52);
    EXPECT_EQ(b[71], 0x71);
    EXPECT_NE(b[3], 0) << "DetectedPort: a controller is present by default";
    // COM1 0x3F8 IRQ 4, COM2 0x2F8 IRQ 3, little-endian.
    EXPECT_EQ(Bytes(b + 4, 8), (std::vector<std::uint8_t>{0xF8, 0x03, 4, 0, 0xF8, 0x02, 3, 0}));
    for (int port = 0; port < 9; ++port) EXPECT_NE(b[4 + port * 4], 0) << "COM" << port + 1;
    auto p = buffer.As<TouchParams>();
    EXPECT_EQ(p.TouchMode, 4);
    EXPECT_EQ(p.SoundMode, 2);
    EXPECT_EQ(p.SoundTone, 1000);
    EXPECT_EQ(p.SoundDuration, 20);
    EXPECT_EQ(p.MouseHSpeed, 10);
    EXPECT_EQ(p.MouseVSpeed, 10);
    EXPECT_EQ(p.Acceleration, 1);
    EXPECT_EQ(p.ScreenWidth, 1024);
    EXPECT_EQ(p.ScreenHeight, 768);
    EXPECT_NE(p.McuVersion, 0);
    EXPECT_NE(p.McuMode, 0);
    // The caller's input did not become the driver's state.
    EXPECT_EQ(+GetParams().TouchMode, 4);
}

TEST_F(DriverRequests, WrongLengthsFailAndTouchNothing) {
    struct Variant {
        const char* what;
        int inDelta, outDelta;  // relative to the record size; -1000 means 0
        std::uint32_t status;
    };
    const Variant variants[] = {
        {"output one byte short", 0, -1, KVD_STATUS_BUFFER_TOO_SMALL},
        {"no output", 0, -1000, KVD_STATUS_BUFFER_TOO_SMALL},
        {"input one byte short", -1, 0, KVD_STATUS_INVALID_PARAMETER},
        {"no input", -1000, 0, KVD_STATUS_INVALID_PARAMETER},
        {"both one byte long", 1, 1, KVD_STATUS_INVALID_PARAMETER},
        {"output one byte long", 0, 1, KVD_STATUS_INVALID_PARAMETER},
    };
    for (const auto& r : kProductRequests) {
        for (const auto& v : variants) {
            SCOPED_TRACE(std::to_string(r.code) + ": " + v.what);
            std::uint32_t in = v.inDelta == -1000 ? 0 : r.size + v.inDelta;
            std::uint32_t out = v.outDelta == -1000 ? 0 : r.size + v.outDelta;
            TouchParams paramsBefore = d().params;
            AgentRegistration agentBefore = d().agent;
            std::uint32_t logBefore = d().log.next_sequence;
            GuardedBuffer buffer(std::max(in, out), 0x5A);
            std::uint32_t returned = 99;
            EXPECT_EQ(Send(r.code, buffer.data(), in, out, &returned), v.status);
            EXPECT_EQ(returned, 0u);
            EXPECT_TRUE(buffer.AllBytesAre(0x5A));
            EXPECT_TRUE(buffer.GuardsIntact());
            EXPECT_EQ(std::memcmp(&paramsBefore, &d().params, sizeof paramsBefore), 0);
            EXPECT_EQ(std::memcmp(&agentBefore, &d().agent, sizeof agentBefore), 0);
            EXPECT_EQ(d().log.next_sequence, logBefore);
        }
    }
    EXPECT_EQ(+State().FailedRequests, std::size(kProductRequests) * std::size(variants));
}

TEST_F(DriverRequests, UnknownCodesAreRefusedAsInvalidFunctions) {
    const std::uint32_t codes[] = {
        0,
        0xF2020,                    // a gap between the product's codes
        0xF2011, 0xF2012, 0xF2013,  // GetParams with another transfer type
        0x1F2010,                   // another device type
        0xF5020,
        KVSIM_CTL_CODE(0x800), KVSIM_CTL_CODE(0xFFF),  // the private type, no such request
    };
    for (std::uint32_t code : codes) {
        SCOPED_TRACE(code);
        GuardedBuffer buffer(82, 0x5A);
        std::uint32_t returned = 99;
        EXPECT_EQ(Send(code, buffer.data(), 82, 82, &returned), KVD_STATUS_INVALID_DEVICE_REQUEST);
        EXPECT_EQ(returned, 0u);
        EXPECT_TRUE(buffer.AllBytesAre(0x5A));
        EXPECT_TRUE(buffer.GuardsIntact());
    }
}

TEST_F(DriverRequests, AMissingBufferIsRefusedWhateverTheCode) {
    std::uint32_t returned = 99;
    EXPECT_EQ(Send(KV_IOCTL_GET_PARAMS, nullptr, 82, 82, &returned), KVD_STATUS_INVALID_PARAMETER);
    EXPECT_EQ(Send(KVSIM_IOCTL_READ_STATE, nullptr, 0, sizeof(KvSimState), &returned),
              KVD_STATUS_INVALID_PARAMETER);
    EXPECT_EQ(returned, 0u);
}

TEST_F(DriverRequests, EveryAnswerStaysWithinItsRecord) {
    for (const auto& r : kProductRequests) {
        SCOPED_TRACE(r.code);
        GuardedBuffer buffer(r.size, 0);
        // A harmless input: the current block, a registration of nobody.
        if (r.size == 82) std::memcpy(buffer.data(), &d().params, 82);
        if (r.code == KV_IOCTL_SET_AGENT_WINDOW) std::memset(buffer.data(), 0xFF, 4);
        std::uint32_t returned = 99;
        ASSERT_EQ(Send(r.code, buffer.data(), r.size, r.size, &returned), KVD_STATUS_SUCCESS);
        bool repliesNothing = r.code == KV_IOCTL_CALIBRATION_SIGNAL || r.code == KV_IOCTL_SOUND_TEST;
        EXPECT_EQ(returned, repliesNothing ? 0u : r.size);
        EXPECT_TRUE(buffer.GuardsIntact());
    }
    KvSimState state = State();
    for (int i = 0; i < KVSIM_REQ_COUNT; ++i) EXPECT_EQ(+state.RequestCounts[i], 1u) << "request " << i;
}

// Each Set request is sent a block in which every byte differs from the
// driver's; afterwards exactly the bytes of its group have changed.
TEST_F(DriverRequests, EachSetRequestTakesOnlyItsGroup) {
    struct Group {
        std::uint32_t code;
        std::vector<std::pair<int, int>> ranges;  // [first, last] byte offsets
    };
    const Group groups[] = {
        {KV_IOCTL_SET_TOUCH_MODE, {{40, 40}, {53, 57}}},
        {KV_IOCTL_SET_SOUND, {{41, 45}}},
        {KV_IOCTL_SET_MOUSE_SPEED, {{47, 50}}},
        {KV_IOCTL_SET_CALIBRATION, {{58, 70}}},
        {KV_IOCTL_SET_SCREEN_SIZE, {{72, 75}}},
    };
    for (const auto& g : groups) {
        SCOPED_TRACE(g.code);
        kvd_init(&d(), now);
        TouchParams before = GetParams();
        auto original = Bytes(&before, 82);
        std::vector<std::uint8_t> sent(82);
        for (int i = 0; i < 82; ++i) sent[i] = static_cast<std::uint8_t>(~original[i]);

        GuardedBuffer buffer(82);
        std::memcpy(buffer.data(), sent.data(), 82);
        std::uint32_t returned = 0;
        ASSERT_EQ(Send(g.code, buffer.data(), 82, 82, &returned), KVD_STATUS_SUCCESS);
        EXPECT_EQ(returned, 82u);

        auto expected = original;
        for (auto [first, last] : g.ranges)
            for (int i = first; i <= last; ++i) expected[i] = sent[i];
        TouchParams after = GetParams();
        EXPECT_EQ(Bytes(&after, 82), expected) << "the driver's block after the request";
        EXPECT_EQ(Bytes(buffer.data(), 82), expected) << "the reply is the whole current block";
    }
}

TEST_F(DriverRequests, SetRequestsAreLoggedWithTheirValuesAndTheSpareBytesCheck) {
    TouchParams p = GetParams();
    p.SoundMode = 4;
    p.SoundTone = 2500;
    p.SoundDuration = 35;
    ASSERT_EQ(Exchange(KV_IOCTL_SET_SOUND, p), KVD_STATUS_SUCCESS);
    p.Unused52 = 0;  // a caller that does not send the spare bytes back
    p.CalFlags = 5;
    ASSERT_EQ(Exchange(KV_IOCTL_SET_CALIBRATION, p), KVD_STATUS_SUCCESS);

    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Kind, static_cast<std::uint32_t>(KVSIM_LOG_SET_REQUEST));
    EXPECT_EQ(log[0].Code, KV_IOCTL_SET_SOUND);
    EXPECT_EQ(log[0].Args[0], 4);
    EXPECT_EQ(log[0].Args[1], 2500);
    EXPECT_EQ(log[0].Args[2], 35);
    EXPECT_EQ(log[0].Args[7], 1);
    EXPECT_EQ(log[1].Code, KV_IOCTL_SET_CALIBRATION);
    EXPECT_EQ(log[1].Args[6], 5);
    EXPECT_EQ(log[1].Args[7], 0);
    EXPECT_EQ(log[1].Sequence, log[0].Sequence + 1);
    EXPECT_EQ(log[0].TimeMs, 0u) << "times count from the driver's start";
}

TEST_F(DriverRequests, CalibrationSignalAndSoundTestAreLoggedAndReadNothingBack) {
    GuardedBuffer signal(4);
    std::int32_t code = 5;
    std::memcpy(signal.data(), &code, 4);
    std::uint32_t returned = 99;
    now += 250;
    ASSERT_EQ(Send(KV_IOCTL_CALIBRATION_SIGNAL, signal.data(), 4, 4, &returned), KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(signal.As<std::int32_t>(), 5);

    SoundTestRecord sound{3000, 40};
    ASSERT_EQ(Exchange(KV_IOCTL_SOUND_TEST, sound, &returned), KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, 0u);

    auto log = Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].Kind, static_cast<std::uint32_t>(KVSIM_LOG_CALIBRATION_SIGNAL));
    EXPECT_EQ(log[0].Args[0], 5);
    EXPECT_EQ(log[0].TimeMs, 250u);
    EXPECT_EQ(log[1].Kind, static_cast<std::uint32_t>(KVSIM_LOG_SOUND_TEST));
    EXPECT_EQ(log[1].Args[0], 3000);
    EXPECT_EQ(log[1].Args[1], 40);
}

TEST_F(DriverRequests, SetCalibrationAndScreenSizeMoveWhereTheNextTouchLands) {
    kvd_pen_down(&d(), now, 100, 800, 0, 1);
    KvSimState s = State();
    EXPECT_NEAR(s.MappedX, 73, 1);   // (100 - 32) * 1023 / 959
    EXPECT_NEAR(s.MappedY, 614, 1);  // (800 - 32) * 767 / 959

    TouchParams p = GetParams();
    p.CalFlags = KV_CAL_MIRROR_X;
    ASSERT_EQ(Exchange(KV_IOCTL_SET_CALIBRATION, p), KVD_STATUS_SUCCESS);
    s = State();
    EXPECT_NEAR(s.MappedX, 1023 - 73, 1);
    EXPECT_NEAR(s.MappedY, 614, 1);

    p.ScreenWidth = 2048;
    p.ScreenHeight = 1536;
    ASSERT_EQ(Exchange(KV_IOCTL_SET_SCREEN_SIZE, p), KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetParams().ScreenWidth, 2048);
    s = State();
    EXPECT_NEAR(s.MappedX, 2047 - 146, 2);
    EXPECT_NEAR(s.MappedY, 1229, 2);
}

TEST_F(DriverRequests, TheAgentRegistrationIsKeptButItsSpareBytesStayTheDrivers) {
    AgentRegistration a = GetAgent();
    EXPECT_EQ(a.AgentWindow, -1);
    EXPECT_EQ(a.Armed, 0);
    EXPECT_EQ(a.Reserved[0], 0xA6);
    EXPECT_EQ(a.Reserved[1], 0x5A);

    AgentRegistration set{0x00010064, 0, {0, 0}};
    std::uint32_t returned = 0;
    ASSERT_EQ(Exchange(KV_IOCTL_SET_AGENT_WINDOW, set, &returned), KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, 8u);
    EXPECT_EQ(set.AgentWindow, 0x00010064);
    EXPECT_EQ(set.Reserved[0], 0xA6) << "the reply carries the driver's spare bytes";

    a = GetAgent();
    EXPECT_EQ(a.AgentWindow, 0x00010064);
    EXPECT_EQ(a.Reserved[1], 0x5A);

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].Code, KV_IOCTL_SET_AGENT_WINDOW);
    EXPECT_EQ(log[0].Args[0], 0x00010064);
    EXPECT_EQ(log[0].Args[2], 0) << "spare bytes as received";

    AgentRegistration unregister{-1, 0, {0xA6, 0x5A}};
    ASSERT_EQ(Exchange(KV_IOCTL_SET_AGENT_WINDOW, unregister), KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetAgent().AgentWindow, -1);
}

TEST_F(DriverRequests, AnArmedAgentGetsExactlyTheNextTouchAsARightButtonTouch) {
    AgentRegistration arm{0x2002A, 1, {0xA6, 0x5A}};
    ASSERT_EQ(Exchange(KV_IOCTL_SET_AGENT_WINDOW, arm), KVD_STATUS_SUCCESS);
    now += 10000;
    EXPECT_EQ(+GetAgent().Armed, 1) << "armed until a touch comes, however long";

    kvd_pen_down(&d(), now, 300, 400, 50, 0);
    EXPECT_EQ(+GetAgent().Armed, 0);
    EXPECT_EQ(+GetAgent().AgentWindow, 0x2002A);
    now += 100;
    kvd_pen_down(&d(), now, 310, 410, 50, 0);

    std::vector<KvSimLogEntry> rightButton;
    for (const auto& e : Log())
        if (e.Kind == KVSIM_LOG_RIGHT_BUTTON) rightButton.push_back(e);
    ASSERT_EQ(rightButton.size(), 1u);
    EXPECT_EQ(rightButton[0].Args[0], 300);
    EXPECT_EQ(rightButton[0].Args[1], 400);
    EXPECT_EQ(rightButton[0].Args[4], 0x2002A);
    EXPECT_EQ(+State().RightButtonTouches, 1u);
}

TEST_F(DriverRequests, ANotArmedAgentGetsNoRightButtonTouch) {
    AgentRegistration idle{0x2002A, 0, {0xA6, 0x5A}};
    ASSERT_EQ(Exchange(KV_IOCTL_SET_AGENT_WINDOW, idle), KVD_STATUS_SUCCESS);
    kvd_pen_down(&d(), now, 300, 400, 50, 0);
    EXPECT_EQ(+State().RightButtonTouches, 0u);
}

TEST_F(DriverRequests, TheRotatorRegistrationAndRotationAreReported) {
    RotatorRegistration r{};
    std::uint32_t returned = 0;
    ASSERT_EQ(Exchange(KV_IOCTL_GET_ROTATOR_WINDOW, r, &returned), KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, 8u);
    EXPECT_EQ(r.RotatorWindow, -1);
    EXPECT_EQ(r.Rotation, 0);

    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_REGISTER_ROTATOR, KvSimRotator{0x30040, 2}), KVD_STATUS_SUCCESS);
    ASSERT_EQ(Exchange(KV_IOCTL_GET_ROTATOR_WINDOW, r), KVD_STATUS_SUCCESS);
    EXPECT_EQ(r.RotatorWindow, 0x30040);
    EXPECT_EQ(r.Rotation, 2);

    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_ROTATION, KvSimValue{3}), KVD_STATUS_SUCCESS);
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_REGISTER_ROTATOR, KvSimRotator{-1, -1}), KVD_STATUS_SUCCESS);
    ASSERT_EQ(Exchange(KV_IOCTL_GET_ROTATOR_WINDOW, r), KVD_STATUS_SUCCESS);
    EXPECT_EQ(r.RotatorWindow, -1);
    EXPECT_EQ(r.Rotation, 3) << "unregistering keeps the rotation";
}

TEST_F(DriverRequests, DetectedPortFollowsTheSimulation) {
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_PORT, KvSimValue{0}), KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetParams().DetectedPort, 0);
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_PORT, KvSimValue{2}), KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetParams().DetectedPort, 2);
}

}  // namespace
}  // namespace kvtest
