#pragma once
// The parts of the main window's layout that follow its size: the time line and
// its slider stretch with the window, the tool panel stays centred, and a double
// click on the background fits the window around the tool panel.
#include <cstdint>

namespace kalvor {

// Design places in twips that the rules below and the view model use.
inline constexpr std::int32_t kSecLeft = 60;     // PictureSec inside PictureAll
inline constexpr std::int32_t kSecWidth = 5475;  // PictureSec at design size
inline constexpr std::int32_t kSecHeight = 675;
inline constexpr std::int32_t kToolTop = 1920;  // PictureTool
inline constexpr std::int32_t kToolWidth = 5940;
inline constexpr std::int32_t kToolHeight = 1320;
inline constexpr std::int32_t kSliderMax = 8192;  // SliderScroll runs 0..8192

// Widths and places after a resize, in twips.
struct ResizeLayout {
    // False when the window is too narrow for the time line: nothing is changed.
    bool Applied = false;
    std::int32_t AllWidth = 0;     // PictureAll
    std::int32_t SecWidth = 0;     // PictureSec
    std::int32_t SliderWidth = 0;  // SliderScroll
    std::int32_t ToolLeft = 0;     // PictureTool, centred
    std::int32_t ViewWidthPx = 0;  // PictureSec in pixels
};

// The layout for a client area clientWidth twips wide, T twips per pixel.
ResizeLayout LayoutForClientWidth(std::int32_t clientWidth, std::int32_t twipsPerPixel);

struct WindowSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// The outer window size that just holds the tool panel, from the present outer
// and client sizes (twips); the window frame keeps its thickness.
WindowSize ToolPanelWindowSize(WindowSize outer, WindowSize client, std::int32_t twipsPerPixel);

}  // namespace kalvor
