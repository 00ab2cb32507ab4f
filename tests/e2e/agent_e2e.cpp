// KVRBTN under Wine against the stand-in driver: registration, the one
// agent rule, commands from another process, the armed touch and its
// cancelling, the failure box, and taking over a dead agent's registration.
#include <gtest/gtest.h>

#include "harness/harness.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr const char* kCaption = " P-RBF";
constexpr UINT kAgentHide = 0x1000, kAgentShow = 0x1001, kAgentClose = 0x100E;

class Agent : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::KillAllNamed("KVRBTN.exe");
        ASSERT_TRUE(sim.Open());
    }
    void TearDown() override {
        e2e::AnswerLeftoverBoxes(0);
        e2e::KillAllNamed("KVRBTN.exe");
        sim.PenUp();
    }

    AgentRegistration Registration() {
        KvSimState state{};
        EXPECT_TRUE(sim.ReadState(state));
        return state.Agent;
    }

    // Starts an agent and waits for its window.
    HWND StartAgent(e2e::Process& process, WORD show = SW_SHOWNORMAL) {
        process = e2e::Process::Start(e2e::InstalledProgram("KVRBTN.exe"), "", show);
        EXPECT_NE(process.Id(), 0u);
        HWND window = e2e::WaitForWindow(kCaption, process.Id());
        EXPECT_NE(window, nullptr) << "no agent window";
        // Registered once its window exists and the driver knows it.
        e2e::WaitUntil([&] { return Registration().AgentWindow == HandleValue(window); }, 5000);
        return window;
    }

    static std::int32_t HandleValue(HWND window) {
        return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window));
    }

    kvsim::Client sim;
};

TEST_F(Agent, RegistersItsWindowWhichIsExactlyTheButtonInTheWorkAreaCorner) {
    e2e::Process agent;
    HWND window = StartAgent(agent);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Registration().AgentWindow, HandleValue(window));
    EXPECT_EQ(Registration().Armed, 0);
    EXPECT_EQ(e2e::DesignName(window), "frmRightButton");

    HWND button = e2e::FindControl(window, "cmdAction");
    ASSERT_NE(button, nullptr);
    RECT client, buttonRect, windowRect, work;
    GetClientRect(window, &client);
    GetWindowRect(button, &buttonRect);
    GetWindowRect(window, &windowRect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(client.right, buttonRect.right - buttonRect.left);
    EXPECT_EQ(client.bottom, buttonRect.bottom - buttonRect.top);
    EXPECT_EQ(client.right, 40);  // 600 twips at 96 DPI
    EXPECT_EQ(windowRect.right, work.right);
    EXPECT_EQ(windowRect.bottom, work.bottom);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Agent, StartedHiddenItStillShowsItself) {
    e2e::Process agent;
    HWND window = StartAgent(agent, SW_HIDE);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 3000));
}

TEST_F(Agent, SecondStartShowsTheFirstAndLeavesOneAgent) {
    e2e::Process first;
    HWND window = StartAgent(first);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_USER, kAgentHide, 0);
    ASSERT_FALSE(IsWindowVisible(window));

    e2e::Process second = e2e::Process::Start(e2e::InstalledProgram("KVRBTN.exe"), "", SW_HIDE);
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(e2e::ProcessesNamed("KVRBTN.exe").size(), 1u);
    EXPECT_EQ(Registration().AgentWindow, HandleValue(window));
}

TEST_F(Agent, CommandsFromAnotherProcessHideShowAndClose) {
    e2e::Process agent;
    HWND window = StartAgent(agent);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(window, WM_USER, kAgentHide, 0), 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(SendMessageA(window, WM_USER, kAgentShow, 0), 0);
    EXPECT_TRUE(IsWindowVisible(window));
    SendMessageA(window, WM_USER, kAgentClose, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(agent.WaitExit(5000));
    EXPECT_EQ(Registration().AgentWindow, -1);
    EXPECT_EQ(Registration().Armed, 0);

    e2e::Process next;
    HWND again = StartAgent(next);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Registration().AgentWindow, HandleValue(again));
}

TEST_F(Agent, ArmedTouchBecomesARightButtonTouchAndTheButtonComesBack) {
    e2e::Process agent;
    HWND window = StartAgent(agent);
    ASSERT_NE(window, nullptr);
    HWND button = e2e::FindControl(window, "cmdAction");
    ASSERT_NE(button, nullptr);
    KvSimState before{};
    ASSERT_TRUE(sim.ReadState(before));

    PostMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Registration().Armed == 1; }, 5000));
    EXPECT_FALSE(IsWindowVisible(button));

    ASSERT_TRUE(sim.Touch(KVSIM_SPACE_RAW, 600, 300, 30));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(button) != FALSE; }, 3000));
    EXPECT_EQ(Registration().Armed, 0);
    EXPECT_EQ(Registration().AgentWindow, HandleValue(window));
    KvSimState after{};
    ASSERT_TRUE(sim.ReadState(after));
    EXPECT_EQ(after.RightButtonTouches, before.RightButtonTouches + 1);
}

TEST_F(Agent, AClickOnTheWindowCancelsTheArmedWait) {
    e2e::Process agent;
    HWND window = StartAgent(agent);
    ASSERT_NE(window, nullptr);
    HWND button = e2e::FindControl(window, "cmdAction");
    PostMessageA(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Registration().Armed == 1; }, 5000));

    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(button) != FALSE; }, 3000));
    EXPECT_EQ(Registration().Armed, 0);
    KvSimState state{};
    ASSERT_TRUE(sim.ReadState(state));
    EXPECT_EQ(state.Agent.AgentWindow, HandleValue(window));
}

TEST_F(Agent, UnknownCommandShowsTheFailureBoxAndTheAgentCarriesOn) {
    e2e::Process agent;
    HWND window = StartAgent(agent);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_USER, 0x1234, 0x5);
    auto box = e2e::WaitForMessageBox(agent.Id(), 5000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, "RBF_WndProc Fail! wParam=1234h, lParam=5h");
    e2e::PressBoxButton(box->window, IDOK);
    EXPECT_TRUE(agent.Running());
    EXPECT_EQ(SendMessageA(window, WM_USER, kAgentHide, 0), 0);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(Agent, ADeadAgentsRegistrationIsTakenOver) {
    e2e::Process dying;
    HWND dead = StartAgent(dying);
    ASSERT_NE(dead, nullptr);
    dying.Kill();
    ASSERT_EQ(Registration().AgentWindow, HandleValue(dead));

    e2e::Process agent;
    HWND window = StartAgent(agent);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window, dead);
    EXPECT_EQ(Registration().AgentWindow, HandleValue(window));
    EXPECT_TRUE(agent.Running());
}

}  // namespace
