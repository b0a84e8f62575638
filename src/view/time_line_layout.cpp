#include "view/time_line_layout.h"

#include "services/arith.h"
#include "services/twips.h"

namespace kalvor {

ResizeLayout LayoutForClientWidth(std::int32_t clientWidth, std::int32_t twipsPerPixel) {
    ResizeLayout layout;
    const std::int32_t t = UsableTwipsPerPixel(twipsPerPixel);
    layout.AllWidth = WrapSub(clientWidth, 6 * t);
    layout.SecWidth = WrapSub(layout.AllWidth, 180);
    // A control cannot be given a negative width; the old layout stays.
    if (layout.AllWidth < 0 || layout.SecWidth < 0) return ResizeLayout{};
    layout.SliderWidth = layout.AllWidth;
    layout.ToolLeft = WrapSub(clientWidth, kToolWidth) / 2;
    layout.ViewWidthPx = layout.SecWidth / t;
    layout.Applied = true;
    return layout;
}

WindowSize ToolPanelWindowSize(WindowSize outer, WindowSize client, std::int32_t twipsPerPixel) {
    const std::int32_t t = UsableTwipsPerPixel(twipsPerPixel);
    return {outer.Width - client.Width + kToolWidth + 48 * t,
            outer.Height - client.Height + kToolHeight + kToolTop + 23 * t};
}

}  // namespace kalvor
