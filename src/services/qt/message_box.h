#pragma once
// Message boxes centred on their owner window, kept clear of the screen's
// bottom strip (where task bars sit) and inside the screen.
#include <cstdint>
#include <string>

#include "services/qt/screen_units.h"

class QWidget;

namespace kalvor {

// The message-box styles kalvor uses (icon and button bits as the platform knows them).
inline constexpr std::int32_t kStyleOk = 0x00;
inline constexpr std::int32_t kStyleInformation = 0x40;
// The codes of the buttons a box returns.
inline constexpr std::int32_t kButtonOk = 1;
inline constexpr std::int32_t kButtonCancel = 2;
inline constexpr std::int32_t kButtonAbort = 3;
inline constexpr std::int32_t kButtonRetry = 4;
inline constexpr std::int32_t kButtonIgnore = 5;
inline constexpr std::int32_t kButtonYes = 6;
inline constexpr std::int32_t kButtonNo = 7;

// The free strip kept at the bottom of the screen, in twips.
inline constexpr int kBottomMarginTwips = 600;

// A point in screen pixels.
struct PixelPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// The centre in pixels of an owner whose frame is given in twips (rounded to
// whole twips): (Left + Width div 2) div twipsPerPixel, and the same for Top
// and Height; div is integer division.
PixelPoint OwnerCentrePixels(std::int32_t leftTw, std::int32_t topTw, std::int32_t widthTw, std::int32_t heightTw,
                             int twipsPerPixel);

// The top left corner in pixels of a box of width × height pixels centred on
// centre: moved up so that its bottom stays 600 twips above the screen's bottom,
// moved left so that its right edge stays on the screen, and never negative.
PixelPoint MessageBoxPosition(PixelPoint centre, int width, int height, ScreenTwips screen, int twipsPerPixel);

// Shows a modal message box owned by owner (may be null) and centred on it
// unless it is minimized, with the style's icon and buttons (64: information
// icon and OK), and returns the code of the button pressed (1 for OK). Line
// breaks may be CR LF or LF.
std::int32_t CenteredMessageBox(const std::string& text, std::int32_t style, const std::string& caption,
                                QWidget* owner);

}  // namespace kalvor
