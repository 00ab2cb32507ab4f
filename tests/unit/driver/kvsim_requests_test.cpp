// kvsim's private requests: the log reader, injection at raw and screen
// points, and the checks that keep a bad request from changing anything.
#include "tests/unit/driver/driver_test_support.h"

namespace kvtest {
namespace {

using KvsimRequests = DriverTest;

TEST_F(KvsimRequests, ReadStateNeedsRoomForTheWholeRecord) {
    GuardedBuffer small(sizeof(KvSimState) - 1);
    std::uint32_t returned = 99;
    EXPECT_EQ(Send(KVSIM_IOCTL_READ_STATE, small.data(), 0, sizeof(KvSimState) - 1, &returned),
              KVD_STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(returned, 0u);
    EXPECT_TRUE(small.AllBytesAre(0x5A));
    EXPECT_TRUE(small.GuardsIntact());

    GuardedBuffer exact(sizeof(KvSimState));
    ASSERT_EQ(Send(KVSIM_IOCTL_READ_STATE, exact.data(), 0, sizeof(KvSimState), &returned),
              KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, sizeof(KvSimState));
    EXPECT_TRUE(exact.GuardsIntact());
    auto state = exact.As<KvSimState>();
    EXPECT_EQ(state.Version, KVSIM_PROTOCOL_VERSION);
    EXPECT_EQ(state.StateSize, sizeof(KvSimState));
    EXPECT_EQ(+State().FailedRequests, 0u) << "kvsim's own failures are not the programs'";
}

TEST_F(KvsimRequests, ALogReadGivesWhatFitsAndSaysThereIsMore) {
    for (int i = 0; i < 5; ++i) {
        std::int32_t signal = i;
        Send(KV_IOCTL_CALIBRATION_SIGNAL, &signal, 4, 4);
    }
    const std::uint32_t room = sizeof(KvSimLogHeader) + 2 * sizeof(KvSimLogEntry) + 47;
    GuardedBuffer buffer(room);
    KvSimLogQuery query{2};
    std::memcpy(buffer.data(), &query, sizeof query);
    std::uint32_t returned = 0;
    ASSERT_EQ(Send(KVSIM_IOCTL_READ_LOG, buffer.data(), sizeof query, room, &returned),
              KVD_STATUS_SUCCESS);
    EXPECT_EQ(returned, sizeof(KvSimLogHeader) + 2 * sizeof(KvSimLogEntry));
    EXPECT_TRUE(buffer.GuardsIntact());
    auto header = buffer.As<KvSimLogHeader>();
    EXPECT_EQ(header.Count, 2u);
    EXPECT_EQ(header.More, 1u);
    EXPECT_EQ(header.NextSequence, 6u);
    EXPECT_EQ(header.OldestSequence, 1u);
    KvSimLogEntry first;
    std::memcpy(&first, buffer.data() + sizeof header, sizeof first);
    EXPECT_EQ(first.Sequence, 2u);
    EXPECT_EQ(first.Args[0], 1);
}

TEST_F(KvsimRequests, BadLogReadsAreRefused) {
    GuardedBuffer buffer(64);
    EXPECT_EQ(Send(KVSIM_IOCTL_READ_LOG, buffer.data(), 4, sizeof(KvSimLogHeader) - 1),
              KVD_STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(Send(KVSIM_IOCTL_READ_LOG, buffer.data(), 3, 64), KVD_STATUS_INVALID_PARAMETER);
    EXPECT_TRUE(buffer.AllBytesAre(0x5A));
}

TEST_F(KvsimRequests, TheLogKeepsTheNewestEntriesAndNeverReusesANumber) {
    for (int i = 0; i < KVL_CAPACITY + 44; ++i) {
        std::int32_t signal = i;
        Send(KV_IOCTL_CALIBRATION_SIGNAL, &signal, 4, 4);
    }
    auto log = Log();
    ASSERT_EQ(log.size(), static_cast<std::size_t>(KVL_CAPACITY));
    EXPECT_EQ(log.front().Sequence, 45u);
    EXPECT_EQ(log.front().Args[0], 44);
    EXPECT_EQ(log.back().Sequence, static_cast<std::uint32_t>(KVL_CAPACITY + 44));
    EXPECT_TRUE(Log(10).size() == KVL_CAPACITY) << "asking for lost entries gives the oldest held";
    EXPECT_EQ(Log(300).size(), 1u);
    EXPECT_TRUE(Log(301).empty());

    ASSERT_EQ(Send(KVSIM_IOCTL_CLEAR_LOG, nullptr, 0, 0), KVD_STATUS_SUCCESS);
    EXPECT_TRUE(Log().empty());
    std::int32_t signal = 0;
    Send(KV_IOCTL_CALIBRATION_SIGNAL, &signal, 4, 4);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].Sequence, 301u);
}

TEST_F(KvsimRequests, PenRequestsAtRawAndScreenPoints) {
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_WIRING, KvSimValue{KV_CAL_MIRROR_X}), KVD_STATUS_SUCCESS);
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_SCREEN, 0, 0}),
              KVD_STATUS_SUCCESS);
    TouchState s = GetTouchState();
    EXPECT_EQ(s.X, KVP_GLASS_HIGH) << "a mirrored X wire reports the left edge high";
    EXPECT_EQ(s.Y, KVP_GLASS_LOW);
    EXPECT_TRUE(s.Status & KV_STATUS_PEN_DOWN);
    KvSimState state = State();
    EXPECT_EQ(state.TouchScreenX, 0);
    EXPECT_EQ(state.TouchScreenY, 0);

    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_MOVE, KVSIM_SPACE_RAW, 1023, 0}),
              KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetTouchState().X, 1023);
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_UP, 0, 0, 0}), KVD_STATUS_SUCCESS);
    EXPECT_FALSE(+GetTouchState().Status & KV_STATUS_PEN_DOWN);
    EXPECT_EQ(SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_MOVE, KVSIM_SPACE_RAW, 5, 5}),
              KVD_STATUS_INVALID_DEVICE_STATE);
}

TEST_F(KvsimRequests, AStrokeIsPlayedByTheClock) {
    KvSimStroke stroke{};
    stroke.Space = KVSIM_SPACE_RAW;
    stroke.PointCount = 3;
    stroke.Points[0] = {100, 100, 20};
    stroke.Points[1] = {200, 150, 20};
    stroke.Points[2] = {300, 200, 20};
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_STROKE, stroke), KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetTouchState().X, 100);
    now += 25;
    EXPECT_EQ(+GetTouchState().X, 200);
    now += 20;
    EXPECT_EQ(+GetTouchState().X, 300);
    now += 20;
    EXPECT_FALSE(+GetTouchState().Status & KV_STATUS_PEN_DOWN);
}

// Every bad request is refused and leaves the simulation as it was.
TEST_F(KvsimRequests, BadValuesChangeNothing) {
    KvSimStroke emptyStroke{};
    KvSimStroke tooLong{};
    tooLong.PointCount = KVSIM_MAX_STROKE_POINTS + 1;
    KvSimStroke lastPointOff{};
    lastPointOff.Space = KVSIM_SPACE_SCREEN;
    lastPointOff.PointCount = 2;
    lastPointOff.Points[0] = {10, 10, 10};
    lastPointOff.Points[1] = {1024, 10, 10};
    KvSimStroke badSpace{};
    badSpace.Space = 2;
    badSpace.PointCount = 1;

    struct Case {
        const char* what;
        std::uint32_t code;
        std::vector<std::uint8_t> input;
    };
    auto bytes = [](const auto& record) { return Bytes(&record, sizeof record); };
    const Case cases[] = {
        {"wiring 8", KVSIM_IOCTL_SET_WIRING, bytes(KvSimValue{8})},
        {"wiring -1", KVSIM_IOCTL_SET_WIRING, bytes(KvSimValue{-1})},
        {"rotation 4", KVSIM_IOCTL_SET_ROTATION, bytes(KvSimValue{4})},
        {"rate 1001", KVSIM_IOCTL_SET_RATE, bytes(KvSimValue{1001})},
        {"port 256", KVSIM_IOCTL_SET_PORT, bytes(KvSimValue{256})},
        {"value too short", KVSIM_IOCTL_SET_PORT, {0, 0}},
        {"screen 1 wide", KVSIM_IOCTL_SET_SCREEN, bytes(KvSimScreen{1, 768, 0})},
        {"screen too high", KVSIM_IOCTL_SET_SCREEN, bytes(KvSimScreen{1024, 40000, 0})},
        {"screen flag", KVSIM_IOCTL_SET_SCREEN, bytes(KvSimScreen{1024, 768, 2})},
        {"rotator rotation 4", KVSIM_IOCTL_REGISTER_ROTATOR, bytes(KvSimRotator{5, 4})},
        {"pen action 0", KVSIM_IOCTL_PEN, bytes(KvSimPen{0, 0, 1, 1})},
        {"pen raw 1024", KVSIM_IOCTL_PEN, bytes(KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_RAW, 1024, 0})},
        {"pen raw -1", KVSIM_IOCTL_PEN, bytes(KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_RAW, 0, -1})},
        {"pen off screen", KVSIM_IOCTL_PEN,
         bytes(KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_SCREEN, 0, 768})},
        {"pen space 7", KVSIM_IOCTL_PEN, bytes(KvSimPen{KVSIM_PEN_DOWN, 7, 0, 0})},
        {"stroke of no points", KVSIM_IOCTL_STROKE, bytes(emptyStroke)},
        {"stroke too long", KVSIM_IOCTL_STROKE, bytes(tooLong)},
        {"stroke ending off screen", KVSIM_IOCTL_STROKE, bytes(lastPointOff)},
        {"stroke space 2", KVSIM_IOCTL_STROKE, bytes(badSpace)},
        {"stroke cut short", KVSIM_IOCTL_STROKE, std::vector<std::uint8_t>(20)},
        {"clear-log with input", KVSIM_IOCTL_CLEAR_LOG, {0, 0, 0, 0}},
    };
    kvd_pen_down(&d(), now, 512, 512, 0, 1);
    KvSimState before = State();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto input = c.input;
        EXPECT_EQ(Send(c.code, input.data(), static_cast<std::uint32_t>(input.size()), 0),
                  KVD_STATUS_INVALID_PARAMETER);
        KvSimState after = State();
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    }
}

TEST_F(KvsimRequests, TheScreenSizeIsTheSimulationsUnlessTheDriverIsAskedToo) {
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_SCREEN, KvSimScreen{1280, 1024, 0}), KVD_STATUS_SUCCESS);
    KvSimState s = State();
    EXPECT_EQ(s.SimScreenWidth, 1280);
    EXPECT_EQ(s.Params.ScreenWidth, 1024);
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_SCREEN, KvSimScreen{1280, 1024, KVSIM_SCREEN_ALSO_DRIVER}),
              KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetParams().ScreenWidth, 1280);
    EXPECT_EQ(+GetParams().ScreenHeight, 1024);
}

}  // namespace
}  // namespace kvtest
