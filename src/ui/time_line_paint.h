#pragma once
// Paints the time line's drawing list: a black picture, then every shape in
// order, the selection OR-ed onto what lies under it. Coordinates in the list
// are twips; each becomes a pixel by integer division by the twips per pixel.
#include <QColor>

#include "view/draw_picture.h"

class QPainter;

namespace kalvor {

// Paints drawing on a surface width × height pixels with the painter's font.
// buttonShadow is the colour of the picture past the end of the audio.
void PaintTimeLine(QPainter& painter, const Drawing& drawing, int twipsPerPixel, int width, int height,
                   const QColor& buttonShadow);

}  // namespace kalvor
