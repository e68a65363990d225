#include "app/watch/win/auto_start.h"

#include <cstdint>

#include "app/handlers.h"
#include "app/import/win/link_intake.h"
#include "app/program_ids.h"
#include "app/settings/win/watch_settings.h"
#include "app/state.h"
#include "app/watch/win/intake_gate.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window_timer.h"

namespace brindor::app {

namespace {

constexpr uintptr_t kCountdownTimer = 0x4E5;
constexpr int kQuietSeconds = 10;

bool on = false;
bool counting = false;
int seconds_left = 0;

void ShowCountdown() {
    ShowLinkCount(concat_text({"（", to_text(seconds_left), "秒后自动开始）"}));
}

void StopCountdown() {
    if (!counting) return;
    counting = false;
    if (HWND main = loaded_window_handle(kMainWindowId)) stop_window_timer(main, kCountdownTimer);
}

void Tick() {
    if (!counting) return;
    // Started by hand meanwhile: that run has the links, and the label no longer counts down.
    if (IsBatchRunning()) {
        StopCountdown();
        return ShowLinkCount();
    }
    if (seconds_left > 1) {
        --seconds_left;
        return ShowCountdown();
    }
    // Nobody to submit for, or a question on the screen: the start waits for them.
    if (SignedInUserId.empty()) return ShowLinkCount("（登录后自动开始）");
    if (!MainWindowTakesInput()) return;
    StopCountdown();
    ShowLinkCount();
    StartUnattendedSubmission();
}

} // namespace

bool IsAutoStartOn() {
    return on;
}

void ToggleAutoStart() {
    on = !on;
    SetAutoStart(on);
    if (!on && counting) {
        StopCountdown();
        ShowLinkCount();
    }
}

void LoadAutoStart() {
    on = AutoStartSetting();
    ListenToList({LinksJoined, CancelAutoStart});
}

void LinksJoined() {
    HWND main = loaded_window_handle(kMainWindowId);
    if (!on || !main || IsBatchRunning()) return;
    counting = true;
    seconds_left = kQuietSeconds;
    start_window_timer(main, kCountdownTimer, 1000, Tick);
    ShowCountdown();
}

void CancelAutoStart() {
    StopCountdown();
}

} // namespace brindor::app
