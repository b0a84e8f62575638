#include "services/qt/window_placement.h"

#include <QWidget>

#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/qt/settings_store.h"

namespace kalvor {
namespace {

constexpr std::int16_t kNormal = 0, kMinimized = 1, kMaximized = 2;

std::int32_t PlanPosition(const std::string& text, std::int32_t current, int screenExtent) {
    const auto value = ParseSettingInt32(text);
    if (!value) return current;
    return (*value < 0 || *value > screenExtent) ? 0 : *value;
}

float PlanSize(const std::string& text, float current, int screenExtent, int twipsPerPixel) {
    const auto value = ParseSettingFloat(text);
    if (!value || *value < static_cast<float>(twipsPerPixel) || *value > 2.0f * static_cast<float>(screenExtent))
        return current;
    return *value;
}

std::int16_t PlanState(const std::string& text, std::int16_t current) {
    const auto value = ParseSettingInt32(text);
    if (!value || *value < kNormal || *value > kMaximized) return current;
    return static_cast<std::int16_t>(*value);
}

void SetState(QWidget& window, std::int16_t state) {
    Qt::WindowStates states =
        window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (state == kMinimized) states |= Qt::WindowMinimized;
    if (state == kMaximized) states |= Qt::WindowMaximized;
    window.setWindowState(states);
}

}  // namespace

WindowPlacement PlanWindowPlacement(const WindowPlacement& current, const StoredPlacementText& stored,
                                    ScreenTwips screen, int twipsPerPixel) {
    WindowPlacement plan;
    plan.Left = PlanPosition(stored.Left, current.Left, screen.Width);
    plan.Top = PlanPosition(stored.Top, current.Top, screen.Height);
    plan.Height = PlanSize(stored.Height, current.Height, screen.Height, twipsPerPixel);
    plan.Width = PlanSize(stored.Width, current.Width, screen.Width, twipsPerPixel);
    plan.State = PlanState(stored.State, current.State);
    return plan;
}

WindowPlacement CurrentPlacement(const QWidget& window, int twipsPerPixel) {
    WindowPlacement now;
    now.Left = WrapMul(window.pos().x(), twipsPerPixel);
    now.Top = WrapMul(window.pos().y(), twipsPerPixel);
    now.Height = static_cast<float>(window.height()) * static_cast<float>(twipsPerPixel);
    now.Width = static_cast<float>(window.width()) * static_cast<float>(twipsPerPixel);
    if (window.isMinimized())
        now.State = kMinimized;
    else if (window.isMaximized() || window.isFullScreen())
        now.State = kMaximized;
    return now;
}

void LoadWindowPlacement(QWidget* window, const std::string& suffix, bool skipSize, bool skipState, bool skipPosition) {
    TrappedRun([&] {
        if (!window) return;
        const int twipsPerPixel = TwipsPerPixel();
        const WindowPlacement current = CurrentPlacement(*window, twipsPerPixel);
        const bool normal = current.State == kNormal;
        StoredPlacementText stored;
        if (normal && !skipPosition) {
            stored.Left = ReadSetting("WindowLeft" + suffix, current.Left);
            stored.Top = ReadSetting("WindowTop" + suffix, current.Top);
        }
        if (normal && !skipSize) {
            stored.Height = ReadSetting("WindowHeight" + suffix, current.Height);
            stored.Width = ReadSetting("WindowWidth" + suffix, current.Width);
        }
        if (!skipState) stored.State = ReadSetting("WindowState" + suffix, current.State);

        const WindowPlacement plan = PlanWindowPlacement(current, stored, ScreenSizeTwips(), twipsPerPixel);
        if (normal && !skipPosition) window->move(plan.Left / twipsPerPixel, plan.Top / twipsPerPixel);
        if (normal && !skipSize)
            window->resize(RoundHalfEven(plan.Width / static_cast<double>(twipsPerPixel)),
                           RoundHalfEven(plan.Height / static_cast<double>(twipsPerPixel)));
        if (!skipState && plan.State != current.State) SetState(*window, plan.State);
    });
}

void SaveWindowPlacement(QWidget* window, const std::string& suffix, bool skipSize, bool skipState) {
    TrappedRun([&] {
        if (!window) return;
        const WindowPlacement now = CurrentPlacement(*window, TwipsPerPixel());
        if (now.State == kNormal) {
            WriteSetting("WindowLeft" + suffix, now.Left);
            WriteSetting("WindowTop" + suffix, now.Top);
            if (!skipSize) {
                WriteSetting("WindowHeight" + suffix, now.Height);
                WriteSetting("WindowWidth" + suffix, now.Width);
            }
        }
        if (!skipState) WriteSetting("WindowState" + suffix, now.State);
    });
}

}  // namespace kalvor
