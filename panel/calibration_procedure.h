// The calibration run on frmCalibration, from the first mark to the
// user's verdict. Each mark waits for a finger that has come to rest; the
// four samples then tell how the glass is wired and turned, are stretched
// out to the screen's borders and go to the driver at once, so the user
// can try the result before keeping it or going back to the old one.
//
// The waits are polling loops on the one user-interface thread; they let
// pending window events run at the points where the user may act (ESC on
// the surface breaks off after a question). While the pen is down the
// capture polls the driver back to back so that no report is missed.
#pragma once

#include <cstdint>
#include <string>

#include "panel/calibration_math.h"
#include "common/winutil/message_boxes.h"
#include "panel/calibration_screen.h"
#include "panel/panel_context.h"

namespace kv::panel {

// CalibrationSignal codes.
inline constexpr std::int32_t kSignalIdle = 0;
inline constexpr std::int32_t kSignalLiftToStart = 3;
inline constexpr std::int32_t kSignalBroken = 4;
inline constexpr std::int32_t kSignalAccepted = 5;

inline constexpr const char* kCalibrationTitle = "TouchScreen Calibration";
inline constexpr const char* kDirectionErrorTitle = "Touchscreen Calibration";
inline constexpr const char* kBreakQuestion = "Are you sure you want to break calibration?";
inline constexpr const char* kStartText = "START CALIBRATION!";
inline constexpr const char* kNextText = "NEXT STEP!";
std::string CompletionQuestion();
std::string DirectionErrorText(const std::string& first, const std::string& second);
std::string UnsupportedModeText(std::int32_t mode);

class CalibrationProcedure {
public:
    CalibrationProcedure(PanelContext& context, CalibrationScreen& screen);
    CalibrationProcedure(const CalibrationProcedure&) = delete;
    CalibrationProcedure& operator=(const CalibrationProcedure&) = delete;

    // The whole procedure; the window unloads itself when it returns.
    void RunCalibration();
    // Shows target i and stores one accepted sample; true when broken off.
    bool CapturePoint(int index, const std::string& name);
    // 0 on success, 1 when broken off or the wiring was not recognised.
    int CalibrateCorners();
    int CalibrateEdges();
    void ApplyCalibration();
    void RestoreCalibration();
    // The surface's key handler (only ESC does anything).
    void SurfaceKeyDown(int key);

    RawSamples& Samples() { return samples_; }
    const CalData& NewCalData() const { return newCal_; }
    std::uint8_t NewFlags() const { return newFlags_; }
    int Rotation() const { return rotation_; }
    bool BreakRequested() const { return breakRequested_; }

private:
    // Form events of frmCalibration.
    void Load();
    void Activate();
    void Unload();

    int Calibrate(int mode);
    bool Broken() const;
    // Lets pending window events run at a point where the user may break
    // off; the only place ESC is heard.
    void WaitEvents();
    // The calibration window owns every box it raises, so that the window
    // is disabled (no touch, no key, no close) while the box asks.
    kv::BoxOwner Owner() const;
    TouchState ReadTouchState();
    static bool PenDown(const TouchState& s) { return (s.Status & KV_STATUS_PEN_DOWN) != 0; }

    PanelContext& context_;
    CalibrationScreen& screen_;

    RawSamples samples_;
    int currentTarget_ = 0;
    bool markShown_ = false;
    bool breakRequested_ = false;
    bool asking_ = false;
    bool waiting_ = false;
    std::int16_t stableCount_ = 2;
    CalData savedCal_{};
    std::uint8_t savedFlags_ = 0;
    CalData newCal_{};
    std::uint8_t newFlags_ = 0;
    int rotation_ = 0;
    std::uint8_t rememberedAutoMode_ = 0;
    bool ranThisOpening_ = false;
    bool running_ = false;
};

}  // namespace kv::panel
