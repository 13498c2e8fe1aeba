#include "settings/page_player.h"

#include "resources/resource.h"
#include "settings/page_logic.h"
#include "settings/settings.h"
#include "settings/settings_page.h"

namespace {

class PlayerPage final : public SettingsPage {
public:
    explicit PlayerPage(const SettingsPageContext& context) : context_(context) {}

protected:
    void OnInit() override {
        const Settings& s = context_.settings;
        SetChecked(IDC_PLAYER_PLAY_ON_OPEN, s.playOnOpen);
        SetNumberBox(IDC_PLAYER_ZOOM_STEP_SPIN, kZoomStepRange.low, kZoomStepRange.high,
                     s.zoomStep);
        SetNumberBox(IDC_PLAYER_BACKWARD_SPEED_SPIN, kBackwardPercentRange.low,
                     kBackwardPercentRange.high, SpeedPercent(s.backwardSpeed));
        SetNumberBox(IDC_PLAYER_FORWARD_SPEED_SPIN, kForwardPercentRange.low,
                     kForwardPercentRange.high, SpeedPercent(s.forwardSpeed));
        SetChecked(IDC_PLAYER_FULL_SCREEN_SEEK_BAR, s.fullScreenSeekBar);
        SetChecked(IDC_PLAYER_FULL_SCREEN_PLAY_BAR, s.fullScreenPlayBar);
        SetChecked(IDC_PLAYER_FIT_TO_DISPLAY, s.fitToDisplay);
        SetChecked(IDC_PLAYER_HIDE_CURSOR, s.fullScreenHideCursor);
    }

    void OnApply() override {
        Settings& s = context_.settings;
        SettingsDialogHost& host = context_.host;
        s.playOnOpen = IsChecked(IDC_PLAYER_PLAY_ON_OPEN);
        s.zoomStep = ClampTo(NumberBoxValue(IDC_PLAYER_ZOOM_STEP), kZoomStepRange);
        s.backwardSpeed =
            SpeedFromPercent(NumberBoxValue(IDC_PLAYER_BACKWARD_SPEED), kBackwardSpeedRange);
        s.forwardSpeed =
            SpeedFromPercent(NumberBoxValue(IDC_PLAYER_FORWARD_SPEED), kForwardSpeedRange);
        host.SetPlaybackSpeeds(s.backwardSpeed, s.forwardSpeed);
        // The bars take effect at the next switch to full screen.
        s.fullScreenSeekBar = IsChecked(IDC_PLAYER_FULL_SCREEN_SEEK_BAR);
        s.fullScreenPlayBar = IsChecked(IDC_PLAYER_FULL_SCREEN_PLAY_BAR);
        s.fitToDisplay = IsChecked(IDC_PLAYER_FIT_TO_DISPLAY);
        host.SetFitToDisplay(s.fitToDisplay);
        s.fullScreenHideCursor = IsChecked(IDC_PLAYER_HIDE_CURSOR);
        host.SetHideCursor(s.fullScreenHideCursor);
    }

private:
    SettingsPageContext context_;
};

}  // namespace

SettingsPageEntry PlayerPageEntry(const SettingsPageContext& context) {
    return {2, IDD_PAGE_PLAYER, IDH_SETTINGS_PLAYER,
            [context] { return std::make_unique<PlayerPage>(context); }};
}
