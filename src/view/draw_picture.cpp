#include "view/draw_picture.h"

#include <algorithm>
#include <cstdio>

#include "listwin/list_rows.h"
#include "services/arith.h"

namespace kalvor {

namespace {

constexpr std::int32_t kLabelsPerPixel = 50;    // one label fits in every 50 pixels
constexpr std::int32_t kSecondTickTwips = 100;  // height of a one-second tick
constexpr std::int32_t kNoSecondTicksMs = 100000;
constexpr std::int32_t kSplitNumberTop = 270;
constexpr std::int64_t kMaxStep = 2000000000;

class Painter {
   public:
    Painter(const DrawInput& in, Drawing& out) : in_(in), out_(out) {}

    // x of a time, as every tick and split mark places it.
    std::int32_t TimeX(double ms) const { return in_.Scale.AudioToX(ms / in_.DurationMs * in_.AudioLength); }

    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t color) {
        out_.Ops.push_back({DrawKind::Line, x1, y1, x2, y2, color, ColorRole::Fixed, {}});
    }
    void Bar(std::int32_t x1, std::int32_t x2, std::uint32_t color, ColorRole role = ColorRole::Fixed) {
        out_.Ops.push_back({DrawKind::Bar, x1, 0, x2, in_.Height, color, role, {}});
    }
    void Text(std::int32_t x, std::int32_t y, std::uint32_t color, std::string text) {
        out_.Ops.push_back({DrawKind::Text, x, y, x, y, color, ColorRole::Fixed, std::move(text)});
    }
    // A one-pixel bar at x when x lies strictly inside the picture.
    bool Mark(std::int32_t x, std::uint32_t color) {
        if (x <= 0 || x >= in_.Width) return false;
        Bar(x, WrapAdd(x, in_.Scale.TwipsPerPixel), color);
        return true;
    }

    void Envelope();
    void Ticks(std::int32_t t0, std::int32_t t1, std::int32_t step);
    void BlockMarks();
    void SplitMarks();

   private:
    const DrawInput& in_;
    Drawing& out_;
};

// Each column reaches from the middle line out to its peaks, in whole pixels
// so that the two halves stay mirror images for a mono file.
void Painter::Envelope() {
    if (in_.Levels == nullptr || in_.Levels->empty()) return;
    const std::int32_t t = in_.Scale.TwipsPerPixel;
    const std::int32_t halfPx = in_.Height / t / 2;
    const std::size_t columns = std::min<std::size_t>(in_.Levels->size(), static_cast<std::size_t>(in_.Width / t));
    out_.Envelope.resize(columns);
    for (std::size_t i = 0; i < columns; ++i) {
        const PeakPair& peak = (*in_.Levels)[i];
        out_.Envelope[i] = {RoundHalfEven(LevelHeight(peak.Left) * halfPx) * t,
                            RoundHalfEven(LevelHeight(peak.Right) * halfPx) * t};
    }
    out_.Ops.push_back({DrawKind::Envelope, 0, halfPx * t, 0, halfPx * t, kLevelColor, ColorRole::Fixed, {}});
}

void Painter::Ticks(std::int32_t t0, std::int32_t t1, std::int32_t step) {
    const std::int32_t t = in_.Scale.TwipsPerPixel;
    for (std::int64_t i = t0 / step; i <= t1 / step; ++i) {
        const std::int32_t ms = Wrap32(i * step);
        const std::int32_t x = TimeX(ms);
        Line(x, 0, x, in_.Height, kTickColor);
        Text(WrapAdd(x, 3 * t), 0, kTickColor, TickLabel(ms));
    }
    if (step >= kNoSecondTicksMs) return;
    for (std::int64_t s = t0 / 1000; s <= t1 / 1000; ++s) {
        const std::int32_t x = TimeX(static_cast<double>(s) * 1000);
        Line(x, in_.Height - kSecondTickTwips, x, in_.Height, kTickColor);
    }
}

void Painter::BlockMarks() {
    if (in_.Blocks == nullptr) return;
    for (std::size_t slot = 1; slot < in_.Blocks->size(); ++slot) {
        const BlockRec& rec = (*in_.Blocks)[slot];
        for (const std::int32_t p : {rec.StartPos, rec.EndPos}) {
            if (p > 0) Mark(in_.Scale.ByteToX(p), kBlockMarkColor);
        }
    }
}

void Painter::SplitMarks() {
    if (in_.Rows == nullptr || in_.Rows->Mode() != ListMode::Split || in_.Rows->Count() < 1) return;
    const std::vector<SplitMark> marks = in_.Rows->SplitMarks();
    const std::int32_t t = in_.Scale.TwipsPerPixel;
    for (std::size_t r = 0; r < marks.size(); ++r) {
        const std::int32_t x = TimeX(marks[r].LocMs);
        if (Mark(x, kSplitMarkColor)) {
            Text(WrapAdd(x, 6 * t), kSplitNumberTop, kSplitMarkColor, ListNumberText(static_cast<int>(r) + 2));
        }
    }
}

}  // namespace

double LevelHeight(LevelCode code) {
    if (code == kNoLevel) return 0.0;
    return std::clamp((DbOfLevelCode(code) + kEnvelopeRangeDb) / kEnvelopeRangeDb, 0.0, 1.0);
}

std::string TickLabel(std::int32_t ms) {
    const std::int32_t seconds = RoundHalfEven(ms / 1000.0) % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%d'%02d", ms / 60000, seconds);
    return text;
}

Drawing DrawPicture(const DrawInput& in) {
    Drawing out;
    DrawPicture(in, out);
    return out;
}

void DrawPicture(const DrawInput& in, Drawing& out) {
    out.Ops.clear();
    out.Envelope.clear();
    out.HandlesPlaced = false;
    // Without audio, a scale, a duration or room for one label there is nothing
    // to measure the picture by: it stays cleared and the handles stay put.
    if (in.AudioLength == 0 || in.DurationMs == 0 || in.Scale.BytesPerPixel < 1) return;
    const std::int32_t labels = RoundHalfEven(static_cast<double>(in.ViewWidthPx) / kLabelsPerPixel);
    if (labels <= 0) return;

    const double audio = in.AudioLength;
    const std::int32_t t0 = RoundTwips(in.Scale.ViewOffset / audio * in.DurationMs);
    const double rightByte = static_cast<double>(in.ViewWidthPx) * in.Scale.BytesPerPixel + in.Scale.ViewOffset;
    const std::int32_t t1 = RoundTwips(rightByte / audio * in.DurationMs);
    const std::int64_t span = static_cast<std::int64_t>(t1) - t0;
    if (span < 0) return;
    const std::int32_t step =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(span / 1000 / labels * 1000, 1000, kMaxStep));

    Painter painter(in, out);
    // Behind the scale, the marks and the selection, which stay readable over it.
    painter.Envelope();
    painter.Ticks(t0, t1, step);
    painter.BlockMarks();
    painter.SplitMarks();

    const std::int32_t end = in.Scale.AudioToX(in.AudioLength);
    if (end < in.Width) out.Ops.push_back({DrawKind::Bar, end, 0, in.Width, in.Height, 0, ColorRole::ButtonShadow, {}});

    out.HandleX = {in.Scale.ByteToX(in.SelStart), in.Scale.ByteToX(in.SelEnd)};
    out.HandlesPlaced = true;
    DrawSelection(out, out.HandleX, in.Width, in.Height);
}

void DrawSelection(Drawing& drawing, const std::array<std::int32_t, 2>& handleX, std::int32_t width,
                   std::int32_t height) {
    if (handleX[0] < 0 && handleX[1] < 0) return;
    if (handleX[0] > width || handleX[1] < 0) return;
    const std::int32_t xa = std::max(handleX[0], 0);
    const std::int32_t xb = handleX[1] <= width ? handleX[1] : width;
    drawing.Ops.push_back(
        {DrawKind::Selection, std::min(xa, xb), 0, std::max(xa, xb), height, kSelectionColor, ColorRole::Fixed, {}});
}

}  // namespace kalvor
