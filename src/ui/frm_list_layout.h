#pragma once
// Where the list window's controls go, in twips of its client area: the list
// fills the window but for a column at the right edge (the delete button, the
// up/down control below it) and a strip along the bottom for the two buttons.
#include <QPoint>
#include <QRect>

namespace kalvor {

inline constexpr int kListMarginTw = 60;          // around and between the controls
inline constexpr int kListSideColumnTw = 480;     // the delete button is square
inline constexpr int kListUpDownHeightTw = 720;   // two arrows, each as high as the button is wide
inline constexpr int kListButtonsHeightTw = 465;  // as the main window's button strips
// The client height a new list window starts with.
inline constexpr int kListClientHeightTw = 4200;
// What the list needs beside its columns: its frame and a vertical scroll bar.
inline constexpr int kListChromeTw = 390;

// The controls' places in twips; no width or height below 0, however small the window.
struct ListWindowLayout {
    QRect List;
    QRect Delete;
    QRect UpDown;
    QRect Buttons;
};

ListWindowLayout LayoutListWindow(int clientWidthTw, int clientHeightTw);

// The client width a new list window starts with: the list shows columns
// columnsWidthTw wide in all without a horizontal scroll bar.
int ListClientWidthTw(int columnsWidthTw);

// Where the list window opens: just right of its owner's frame (left = owner's
// left + width, top = owner's top), each coordinate raised to 0 when negative.
QPoint ListWindowPosition(const QRect& ownerFrame);

}  // namespace kalvor
