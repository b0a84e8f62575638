#pragma once
// What the time line shows, computed as a list of shapes in twips: the widget
// only paints the list on a cleared black picture, in order. Keeping the
// drawing as data lets it be checked without a screen and keeps every number
// (ticks, labels, marks, the end of the audio, the selection) out of the widget.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/block_list.h"
#include "document/level_source.h"
#include "view/view_scale.h"

namespace kalvor {

class ListRows;

inline constexpr std::uint32_t kTickColor = 0x00C0C0;       // teal: ticks and their labels
inline constexpr std::uint32_t kBlockMarkColor = 0x0000FF;  // blue: seams of earlier edits
inline constexpr std::uint32_t kSplitMarkColor = 0xFFFFFF;  // white: split points and piece numbers
inline constexpr std::uint32_t kSelectionColor = 0x606060;  // OR-ed onto what lies under the selection
inline constexpr std::uint32_t kLevelColor = 0x208040;      // dark green: the levels; light green when selected

// The envelope spans this many decibels below full scale: a 45-pixel time line
// shows speech, music and a quiet room's noise apart on a decibel scale, where
// a linear one would leave everything but loud music a pixel or two high.
inline constexpr double kEnvelopeRangeDb = 60.0;
// How far a peak reaches from the middle line towards the edge, 0..1.
double LevelHeight(LevelCode code);

enum class DrawKind {
    Line,       // from (X1, Y1) to (X2, Y2)
    Bar,        // filled box X1..X2 × Y1..Y2 (right and bottom exclusive)
    Text,       // Text with its top-left corner at (X1, Y1)
    Selection,  // box as Bar, each pixel becomes pixel OR Color
    Envelope,   // the columns of Drawing::Envelope, column i at x = X1 + i × T, around the middle line y = Y1
};

// Colours the palette decides rather than the drawing.
enum class ColorRole {
    Fixed,         // Color as given
    ButtonShadow,  // the system's button-shadow colour: the picture past the end of the audio
};

struct DrawOp {
    DrawKind Kind = DrawKind::Line;
    std::int32_t X1 = 0;
    std::int32_t Y1 = 0;
    std::int32_t X2 = 0;
    std::int32_t Y2 = 0;
    std::uint32_t Color = 0;  // 0xRRGGBB
    ColorRole Role = ColorRole::Fixed;
    std::string Text;

    bool operator==(const DrawOp&) const = default;
};

// Everything DrawPicture reads. Width and Height are the picture's size in twips.
struct DrawInput {
    std::int32_t AudioLength = 0;
    std::int32_t DurationMs = 0;
    ViewScale Scale;
    std::int32_t ViewWidthPx = 0;
    std::int32_t Width = 0;   // W
    std::int32_t Height = 0;  // H
    std::int32_t SelStart = 0;
    std::int32_t SelEnd = 0;
    const std::vector<BlockRec>* Blocks = nullptr;  // slot 0 unused
    // The list window's rows while it is open; null when it is closed. Only
    // split mode draws marks.
    const ListRows* Rows = nullptr;
    // The peaks of the frames each pixel column covers, from the left edge;
    // null draws no envelope.
    const std::vector<PeakPair>* Levels = nullptr;
};

// The envelope in one pixel column, in twips above (left channel) and below
// (right channel) the middle line; whole pixels.
struct EnvelopeColumn {
    std::int32_t Up = 0;
    std::int32_t Down = 0;
};

struct Drawing {
    // Painted on a cleared picture in this order.
    std::vector<DrawOp> Ops;
    // The columns the Envelope shape paints.
    std::vector<EnvelopeColumn> Envelope;
    // Where the selection's ends fall, in twips of the picture. Set only when the
    // drawing got that far: a drawing that stops early (no audio, no scale, a view
    // too narrow for one label) keeps the handles where they were.
    bool HandlesPlaced = false;
    std::array<std::int32_t, 2> HandleX{0, 0};
};

// The whole picture from the view's state.
Drawing DrawPicture(const DrawInput& in);
// The same into out, reusing its storage: a redraw on every mouse move then
// allocates nothing once the list has grown to its size.
void DrawPicture(const DrawInput& in, Drawing& out);

// Adds the selection highlight between handleX[0] and handleX[1], clipped to the
// picture; nothing when the selection lies wholly outside it. Painting it again
// over itself changes nothing (OR), so a drag's end may add it once more.
void DrawSelection(Drawing& drawing, const std::array<std::int32_t, 2>& handleX, std::int32_t width,
                   std::int32_t height);

// A tick label: whole minutes, "'", two-digit seconds ("0'05", "1'30", "12'00").
std::string TickLabel(std::int32_t ms);

}  // namespace kalvor
