#include "services/qt/ui_fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/path_text.h"
#include "services/qt/screen_units.h"

namespace kalvor {
namespace {

std::string g_uiFontName;
std::vector<std::string> g_installedFaces;
std::vector<FontEntry> g_fonts;

// Qt's weights end at 1000; very fine screens would ask for more.
constexpr int kHeaviestWeight = 1000;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Japanese families best suited to stand in for the interface faces: the Noto
// CJK JP sans face, then other sans (gothic) faces, then the rest.
QStringList JapaneseStandIns() {
    QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    const auto rank = [](const QString& family) {
        if (family == QLatin1String("Noto Sans CJK JP")) return 0;
        const bool sans = family.contains(QLatin1String("Gothic"), Qt::CaseInsensitive) ||
                          family.contains(QLatin1String("Sans"), Qt::CaseInsensitive);
        if (sans && !family.contains(QLatin1String("Mono"), Qt::CaseInsensitive)) return 1;
        return 2;
    };
    std::stable_sort(families.begin(), families.end(),
                     [&](const QString& a, const QString& b) { return rank(a) < rank(b); });
    return families;
}

// The request behind a widget's font: its cache entry when it has one.
FontEntry RequestOf(const QFont& font) {
    for (const auto& entry : g_fonts)
        if (entry.Font == font) return entry;
    FontEntry request;
    request.Face = font.family().toStdString();
    request.Bold = font.bold();
    request.Italic = font.italic();
    if (font.pointSizeF() > 0)
        request.Size = static_cast<float>(font.pointSizeF());
    else if (font.pixelSize() > 0)
        request.Size = static_cast<float>(font.pixelSize()) * static_cast<float>(TwipsPerPixel()) / 20.0f;
    return request;
}

// Qt sizes a font by its em, the Windows font mapper by its character cell
// (ascent plus descent), which is the larger by the face's leading: the em
// whose cell is the largest that fits cellHeight, at least 1.
int EmPixelsForCell(QFont font, int cellHeight) {
    const auto cellOf = [&font](int emPixels) {
        font.setPixelSize(emPixels);
        return QFontMetrics(font).height();
    };
    const int cellAtCell = cellOf(cellHeight);
    int em = cellAtCell > 0 ? std::max(1, cellHeight * cellHeight / cellAtCell) : cellHeight;
    while (em > 1 && cellOf(em) > cellHeight) --em;
    while (cellOf(em + 1) <= cellHeight) ++em;
    return em;
}

std::int32_t FindOrCreate(float size, bool bold, bool italic, const std::string& face) {
    for (std::size_t i = 0; i < g_fonts.size(); ++i) {
        const auto& e = g_fonts[i];
        if (e.Face == face && e.Size == size && e.Bold == bold && e.Italic == italic)
            return static_cast<std::int32_t>(i);
    }
    if (CreateUiFont(size, bold, italic, face) != 1) return kNoFont;
    return static_cast<std::int32_t>(g_fonts.size() - 1);
}

}  // namespace

std::string UiFontName() {
    return g_uiFontName;
}

const std::vector<std::string>& InstalledUiFaces() {
    return g_installedFaces;
}

std::string ChooseUiFontFrom(const std::vector<std::string>& installed) {
    for (const char* face : kPreferredUiFaces)
        if (std::find(installed.begin(), installed.end(), face) != installed.end()) return face;
    return kFallbackUiFace;
}

void ChooseUiFont() {
    TrappedRun([] {
        for (const QString& family : QFontDatabase::families()) g_installedFaces.push_back(family.toStdString());
        g_uiFontName = ChooseUiFontFrom(g_installedFaces);
        InstallUiFontSubstitutions();
    });
}

void InstallUiFontSubstitutions() {
    TrappedRun([] {
        const QStringList standIns = JapaneseStandIns();
        if (standIns.isEmpty()) return;
        const QStringList installed = QFontDatabase::families();
        for (const char* face : kPreferredUiFaces) {
            const QString name = QString::fromUtf8(face);
            if (!installed.contains(name) && QFont::substitutes(name).isEmpty())
                QFont::insertSubstitutions(name, standIns);
        }
    });
}

float FaceHeightScale(const std::string& face) {
    return face == kTallFace ? kTallFaceScale : 1.0f;
}

std::int32_t FontHeightPixels(float size, float scale, int t) {
    return RoundHalfEven(static_cast<double>(size) * 20.0 * static_cast<double>(scale) / t);
}

std::int32_t BoldWeight(int t) {
    return RoundHalfEven(700.0 * 15.0 / t);
}

int CreateUiFont(float size, bool bold, bool italic, const std::string& face) {
    return Trapped(0, [&] {
        const int t = TwipsPerPixel();
        const std::string name = TrimSpaces(face);
        const float scale = FaceHeightScale(name);
        const std::int32_t height = FontHeightPixels(size, scale, t);
        if (height <= 0) return 0;
        QFont font(Q(name));
        if (bold) font.setWeight(static_cast<QFont::Weight>(std::min(BoldWeight(t), kHeaviestWeight)));
        font.setItalic(italic);
        font.setPixelSize(EmPixelsForCell(font, height));
        g_fonts.push_back({font, size, bold, italic, face, 1.0f / scale});
        return 1;
    });
}

std::int32_t ApplyUiFont(QWidget* widget, std::int32_t index, float size, bool bold, bool italic,
                         const std::string& face) {
    if (index < -2) return kNoFont;
    return Trapped(kNoFont, [&] {
        if (g_uiFontName.empty()) g_uiFontName = kFallbackUiFace;
        if (g_fonts.empty() && CreateUiFont(kDefaultUiFontSize, false, false, g_uiFontName) != 1) return kNoFont;
        FontEntry request{QFont(), size, bold, italic, face, 1.0f};
        if (index == -1) {
            if (!widget) return kNoFont;
            request = RequestOf(widget->font());
        }
        if (TrimSpaces(request.Face).empty()) request.Face = g_uiFontName;
        if (!(request.Size > 0)) request.Size = kDefaultUiFontSize;
        if (index < 0) index = FindOrCreate(request.Size, request.Bold, request.Italic, request.Face);
        if (index < 0 || index >= static_cast<std::int32_t>(g_fonts.size())) return kNoFont;
        if (widget) widget->setFont(g_fonts[static_cast<std::size_t>(index)].Font);
        return index;
    });
}

const std::vector<FontEntry>& UiFonts() {
    return g_fonts;
}

void ReleaseUiFonts() {
    g_fonts.clear();
}

}  // namespace kalvor
