#include "ui/frm_list_layout.h"

#include <algorithm>

namespace kalvor {

namespace {

QRect Box(int left, int top, int width, int height) {
    return {left, top, std::max(width, 0), std::max(height, 0)};
}

}  // namespace

ListWindowLayout LayoutListWindow(int clientWidthTw, int clientHeightTw) {
    const int m = kListMarginTw;
    const int sideLeft = std::max(clientWidthTw - m - kListSideColumnTw, 0);
    const int buttonsTop = std::max(clientHeightTw - m - kListButtonsHeightTw, 0);
    ListWindowLayout layout;
    layout.List = Box(m, m, sideLeft - 2 * m, buttonsTop - 2 * m);
    layout.Delete = Box(sideLeft, m, kListSideColumnTw, kListSideColumnTw);
    layout.UpDown = Box(sideLeft, 2 * m + kListSideColumnTw, kListSideColumnTw, kListUpDownHeightTw);
    layout.Buttons = Box(m, buttonsTop, clientWidthTw - 2 * m, kListButtonsHeightTw);
    return layout;
}

int ListClientWidthTw(int columnsWidthTw) {
    return 3 * kListMarginTw + std::max(columnsWidthTw, 0) + kListChromeTw + kListSideColumnTw;
}

QPoint ListWindowPosition(const QRect& ownerFrame) {
    return {std::max(ownerFrame.x() + ownerFrame.width(), 0), std::max(ownerFrame.y(), 0)};
}

}  // namespace kalvor
