#pragma once
// The interface fonts: one Japanese face chosen at start, and a process-wide
// cache with one font per face, size, bold and italic that windows and the
// owner-drawn controls share by index.
#include <cstdint>
#include <string>
#include <vector>

#include <QFont>

class QWidget;

namespace kalvor {

// The faces preferred for the interface, best first, and the face used when none is installed.
inline constexpr const char* kPreferredUiFaces[] = {"メイリオ", "MS UI Gothic", "ＭＳ Ｐゴシック"};
inline constexpr const char* kFallbackUiFace = "ＭＳ Ｐゴシック";
// The face whose glyphs need a taller cell for the same point size.
inline constexpr const char* kTallFace = "メイリオ";
inline constexpr float kTallFaceScale = 1.34f;
// The interface's size in points, used where a caller names none.
inline constexpr float kDefaultUiFontSize = 9;
// The index that means "no font".
inline constexpr std::int32_t kNoFont = -3;

// One font of the cache, as requested.
struct FontEntry {
    QFont Font;
    float Size = 0;  // points
    bool Bold = false;
    bool Italic = false;
    std::string Face;
    float InverseScale = 1;  // 1 / FaceHeightScale(Face)
};

// The chosen face; empty until ChooseUiFont runs.
std::string UiFontName();

// The first preferred face found (exact, case-sensitive) among installed, else the fallback face.
std::string ChooseUiFontFrom(const std::vector<std::string>& installed);

// Adds the installed families to the list of installed faces, sets UiFontName
// from it and lets the three preferred names render with an installed Japanese
// family where they are not installed themselves. Call once at start, before
// any font is applied.
void ChooseUiFont();

// The installed faces gathered by ChooseUiFont (the list only grows).
const std::vector<std::string>& InstalledUiFaces();

// Makes the preferred faces that are not installed stand for installed families
// that show Japanese (a Noto CJK JP sans face first), so text asked for in them
// shows Japanese glyphs rather than boxes.
void InstallUiFontSubstitutions();

// The height scale of a face: kTallFaceScale for kTallFace, else 1.
float FaceHeightScale(const std::string& face);
// The cell height in pixels of size points: round(size × 20 × scale / t), ties
// to even. A created font's character cell (ascent plus descent) has this
// height; its em is smaller by the face's leading.
std::int32_t FontHeightPixels(float size, float scale, int t);
// The weight of a bold font: round(700 × 15 / t), so it grows with the resolution.
std::int32_t BoldWeight(int t);

// Creates the font and appends it to the cache; 1 when done, else 0.
int CreateUiFont(float size, bool bold, bool italic, const std::string& face);

// Gives widget (may be null: the index is only looked up) a font of the cache and
// returns its index, or kNoFont. index below -2: kNoFont at once; -1: the font
// matching the widget's own font; -2: the font of face (empty: UiFontName), size
// (0 or less: 9), bold and italic, created when not cached; 0 or more: that entry.
// The first call creates the default font (9 points of UiFontName) first.
std::int32_t ApplyUiFont(QWidget* widget, std::int32_t index, float size = 0, bool bold = false, bool italic = false,
                         const std::string& face = "");

// The cache, in creation order, for controls that draw with a cached font.
const std::vector<FontEntry>& UiFonts();

// Empties the cache; windows keep the fonts they were given.
void ReleaseUiFonts();

}  // namespace kalvor
