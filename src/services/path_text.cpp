#include "services/path_text.h"

#include <array>
#include <string_view>

#include "services/app_folder.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

struct PathPieces {
    std::string folder;
    std::string base;
    std::string dot;
    std::string ext;
};

PathPieces SplitPath(const std::string& path) {
    PathPieces pieces;
    std::string name = path;
    if (const auto sep = path.rfind(kPathSep); sep != std::string::npos) {
        pieces.folder = path.substr(0, sep);
        name = path.substr(sep + 1);
    }
    const auto point = name.rfind('.');
    if (point != std::string::npos && point + 1 < name.size()) {
        pieces.ext = name.substr(point + 1);
        pieces.dot = ".";
        name.resize(point);
    }
    pieces.base = std::move(name);
    return pieces;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && AsciiLower(text.substr(text.size() - tail.size())) == AsciiLower(tail);
}

}  // namespace

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string PathPart(const std::string& path, bool folder, bool sep, bool base, bool dot, bool ext, int caseMode) {
    return Trapped(std::string(), [&] {
        if (path.empty()) return std::string();
        const PathPieces pieces = SplitPath(path);
        std::string result;
        if (folder) result += pieces.folder;
        if (sep) result += kPathSep;
        if (base) result += pieces.base;
        if (dot) result += pieces.dot;
        if (ext) result += pieces.ext;
        if (caseMode == 1) return AsciiLower(std::move(result));
        if (caseMode == 2) return AsciiUpper(std::move(result));
        return result;
    });
}

std::string FileNameOf(const std::string& path) {
    return PathPart(path, false, false, true, true, true);
}

std::string BaseNameOf(const std::string& path) {
    return PathPart(path, false, false, true, false, false);
}

std::string ExtensionWithDot(const std::string& path) {
    return PathPart(path, false, false, false, true, true);
}

std::string LowerExtensionOf(const std::string& path) {
    return PathPart(path, false, false, false, false, true, 1);
}

int IsDeviceName(const std::string& path) {
    return Trapped(0, [&] {
        static constexpr std::array<std::string_view, 5> kPlain = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
        const std::string base = AsciiUpper(BaseNameOf(path));
        for (std::string_view name : kPlain)
            if (base == name) return 1;
        // COM0-COM9 and LPT0-LPT9.
        const bool numbered = base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
                              base[3] >= '0' && base[3] <= '9';
        return numbered ? 1 : 0;
    });
}

std::string SetTrailingSep(const std::string& path, bool remove) {
    return Trapped(std::string(), [&] {
        if (TrimSpaces(path).empty()) return std::string();
        const char sep = AsciiLower(path.substr(0, 4)) == "http" ? '/' : kPathSep;
        std::string result = path;
        const bool has = result.back() == sep;
        if (remove && has) result.pop_back();
        if (!remove && !has) result += sep;
        return result;
    });
}

std::string EnsureExtension(const std::string& name, const std::string& ext) {
    return Trapped(std::string(), [&] {
        if (name.empty()) return std::string();
        std::string tail = TrimSpaces(ext);
        if (tail.empty()) return name;
        if (tail.front() != '.') tail.insert(tail.begin(), '.');
        if (EndsWithIgnoringCase(name, tail)) return name;
        return name + AsciiLower(tail);
    });
}

std::string CutAtNul(const std::string& text) {
    return Trapped(std::string(), [&] { return TrimSpaces(text.substr(0, text.find('\0'))); });
}

}  // namespace kalvor
