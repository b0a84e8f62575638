#include "services/qt/profile_text.h"

#include "services/path_text.h"

#include <vector>

namespace kalvor {
namespace {

constexpr const char* kBlanks = " \t";

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// A line as its meaning sees it: a leading byte-order mark, left by some
// editors at the top of the file, and the blanks around the text do not count.
std::string TrimLine(const std::string& line) {
    static const std::string kBom = "\xEF\xBB\xBF";
    if (line.compare(0, kBom.size(), kBom) == 0) return Trim(line.substr(kBom.size()));
    return Trim(line);
}

bool SameName(const std::string& a, const std::string& b) {
    return AsciiLower(a) == AsciiLower(b);
}

// The lines of the file without their line breaks.
using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& fileText) {
    Lines lines;
    std::size_t start = 0;
    while (start < fileText.size()) {
        std::size_t end = fileText.find('\n', start);
        if (end == std::string::npos) end = fileText.size();
        std::string text = fileText.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(text);
        start = end + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string> SectionOf(const std::string& line) {
    const std::string t = TrimLine(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string> KeyOf(const std::string& line) {
    const std::string t = TrimLine(line);
    if (t.empty() || t.front() == ';') return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return Trim(t.substr(0, eq));
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string Quoted(std::string value) {
    const auto brk = value.find_first_of("\r\n");
    if (brk != std::string::npos) value.resize(brk);
    const bool blankEdge = !value.empty() && (std::string(kBlanks).find(value.front()) != std::string::npos ||
                                              std::string(kBlanks).find(value.back()) != std::string::npos);
    if (blankEdge || Unquote(value) != value) return '"' + value + '"';
    return value;
}

// Where the lines of section lie: [first, end) after its header; nothing when absent.
struct SectionRange {
    std::size_t header = 0, end = 0;
};
std::optional<SectionRange> FindSection(const Lines& lines, const std::string& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionOf(lines[i]);
        if (!name || !SameName(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionOf(lines[end])) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ProfileGet(const std::string& fileText, const std::string& section, const std::string& key) {
    const auto lines = SplitLines(fileText);
    const auto range = FindSection(lines, section);
    if (!range) return std::nullopt;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const auto name = KeyOf(lines[i]);
        if (!name || !SameName(*name, key)) continue;
        const std::string& t = lines[i];
        return Unquote(Trim(t.substr(t.find('=') + 1)));
    }
    return std::nullopt;
}

std::string ProfileSet(const std::string& fileText, const std::string& section, const std::string& key,
                       const std::string& value) {
    auto lines = SplitLines(fileText);
    const std::string newLine = key + "=" + Quoted(value);
    const auto range = FindSection(lines, section);
    if (!range) {
        lines.push_back("[" + section + "]");
        lines.push_back(newLine);
    } else {
        std::size_t insertAt = range->header + 1;
        bool replaced = false;
        for (std::size_t i = range->header + 1; i < range->end && !replaced; ++i) {
            const auto name = KeyOf(lines[i]);
            if (name && SameName(*name, key)) {
                lines[i] = newLine;
                replaced = true;
            }
            if (!TrimLine(lines[i]).empty()) insertAt = i + 1;
        }
        if (!replaced) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
    }
    // Keep the file's own line breaks; a new file gets the platform's.
#ifdef _WIN32
    const bool newFileCrlf = true;
#else
    const bool newFileCrlf = false;
#endif
    const bool crlf = fileText.empty() ? newFileCrlf : fileText.find("\r\n") != std::string::npos;
    std::string out;
    for (const auto& line : lines) out += line + (crlf ? "\r\n" : "\n");
    return out;
}

std::string CutToChars(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (continuation) continue;
        if (chars == maxChars) return text.substr(0, i);
        ++chars;
    }
    return text;
}

}  // namespace kalvor
