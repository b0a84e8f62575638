#pragma once
// A window's place on the screen kept between runs: position and size in twips
// and the state (0 normal, 1 minimized, 2 maximized) under the keys "WindowLeft",
// "WindowTop", "WindowHeight", "WindowWidth" and "WindowState", each followed by
// a suffix ("" for the main window, "List" for the list window).
#include <cstdint>
#include <string>

#include "services/qt/screen_units.h"

class QWidget;

namespace kalvor {

// A window's geometry as stored: position and size in twips, and its state.
struct WindowPlacement {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    float Height = 0;
    float Width = 0;
    std::int16_t State = 0;
};

// The stored texts of the five keys; a key that was not read is empty text.
struct StoredPlacementText {
    std::string Left, Top, Height, Width, State;
};

// Where a window at current goes from the stored texts, on a screen of the given
// size in twips (twipsPerPixel to a pixel). A position that is negative or beyond the
// screen's width (Left) or height (Top) becomes 0. A text that is not a number of
// the key's kind keeps the current value, as does a size under one pixel or more
// than twice the screen's extent, and a state other than 0, 1 or 2: broken
// settings never leave the window off-screen or shrunk to nothing.
WindowPlacement PlanWindowPlacement(const WindowPlacement& current, const StoredPlacementText& stored,
                                    ScreenTwips screen, int twipsPerPixel);

// The window's geometry now, in twips, twipsPerPixel to a pixel (its position is
// that of its frame, its size that of its contents, as Qt moves and resizes it).
WindowPlacement CurrentPlacement(const QWidget& window, int twipsPerPixel);

// Restores the window from the keys followed by suffix. A window in the normal
// state gets its position (unless skipPosition) and size (unless skipSize);
// unless skipState, the stored state is set whatever the current one is.
void LoadWindowPlacement(QWidget* window, const std::string& suffix, bool skipSize = false, bool skipState = false,
                         bool skipPosition = false);

// Stores the window under the keys followed by suffix: position and, unless
// skipSize, size only while it is in the normal state (so a maximized or
// minimized window leaves its last normal geometry stored), and unless
// skipState its state.
void SaveWindowPlacement(QWidget* window, const std::string& suffix, bool skipSize = false, bool skipState = false);

}  // namespace kalvor
