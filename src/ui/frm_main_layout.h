#pragma once
// Where the main window's controls go at design size, in twips. A resize
// changes only the widths of the time line, its container and the slider and
// the tool panel's left edge (view/time_line_layout.h).
#include <cstdint>

namespace kalvor {

struct TwipRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const TwipRect&) const = default;
};

// The controls at design size. PictureSec, the handles, the information and
// message panels and the two button strips are placed inside their containers
// (PictureAll, PictureTool).
namespace design {
inline constexpr TwipRect kPictureAll{45, 345, 5640, 1050};
inline constexpr TwipRect kPictureSec{60, 60, 5475, 675};
inline constexpr TwipRect kPictureMark0{45, 765, 405, 225};
inline constexpr TwipRect kPictureMark1{465, 765, 405, 225};
inline constexpr TwipRect kSliderScroll{45, 1515, 5655, 300};
inline constexpr TwipRect kPictureTool{945, 1920, 5940, 1320};
inline constexpr TwipRect kPictureInfo{165, 120, 1770, 1080};
inline constexpr TwipRect kPictureMes{2055, 270, 3720, 315};
inline constexpr TwipRect kPlayButtons{2055, 735, 1830, 465};
inline constexpr TwipRect kEditorCtrl{3960, 735, 1830, 465};
// The play cursor: a line at x 720 from y 0 to 600 inside PictureSec.
inline constexpr std::int32_t kLineHeadX = 720;
inline constexpr std::int32_t kLineHeadBottom = 600;
}  // namespace design

// The information panel: four rows 240 twips apart from 90 twips down; labels
// at 90 twips, the clickable values at 720 twips from the left.
inline constexpr std::int32_t kInfoFirstRowTop = 90;
inline constexpr std::int32_t kInfoRowStep = 240;
inline constexpr std::int32_t kInfoLabelLeft = 90;
inline constexpr std::int32_t kInfoValueLeft = 720;
inline constexpr int kInfoRows = 4;
// The message panel's one text field.
inline constexpr std::int32_t kMessageLeft = 75;
inline constexpr std::int32_t kMessageTop = 15;

// The slider's pointer size (its range is kSliderMax).
inline constexpr int kSliderPointer = 990;

}  // namespace kalvor
