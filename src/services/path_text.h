#pragma once
// Path texts taken apart and put together without touching the disk. Paths are
// in the platform's form (kPathSep between folders, UTF-8 on Linux); the
// extension is what follows the last "." of the last path element.
#include <string>

namespace kalvor {

// The chosen parts of path joined in this order: folder (everything before the
// last separator), the separator, the base name, the dot ("." only when there is
// an extension) and the extension. caseMode 1 lowers the result, 2 raises it
// (ASCII letters only). A name ending in "." has no extension and keeps the dot
// in its base name, so folder + sep + base + dot + ext always gives the path back.
// PathPart("/a/song.mp3", true, …) alone is "/a"; base, dot and ext give "song.mp3";
// "song" with all five flags gives "/song".
std::string PathPart(const std::string& path, bool folder, bool sep, bool base, bool dot, bool ext, int caseMode = 0);

// The parts most callers want, by name ("/a/Song.MP3"):
std::string FileNameOf(const std::string& path);        // "Song.MP3": base name, dot and extension
std::string BaseNameOf(const std::string& path);        // "Song"
std::string ExtensionWithDot(const std::string& path);  // ".MP3"; "" without an extension
std::string LowerExtensionOf(const std::string& path);  // "mp3", lowered (ASCII letters only)

// 1 when the base name (as PathPart gives it) is one of Windows' 26 reserved
// device names (CON, PRN, AUX, NUL, CLOCK$, COM0-9, LPT0-9) in any case, else 0:
// "con.mp3" is one, "console.mp3" is not. A pure test of the text on every platform.
int IsDeviceName(const std::string& path);

// Blank text (spaces only) gives "". Otherwise, with remove, one trailing
// separator is taken off; without it, one is added when missing. The separator
// is kPathSep, or "/" for text starting with "http" in any case.
std::string SetTrailingSep(const std::string& path, bool remove);

// The name ending in the extension: ext is trimmed and given a leading "." when
// it lacks one; a name that already ends with it (ignoring ASCII case) is kept,
// otherwise the lower-cased extension is appended ("take1" + "mp3" -> "take1.mp3",
// "a.wav" + ".mp3" -> "a.wav.mp3"). An empty name gives ""; an empty ext the name.
std::string EnsureExtension(const std::string& name, const std::string& ext);

// The text up to its first zero character, with leading and trailing spaces removed.
std::string CutAtNul(const std::string& text);

// The text without leading and trailing spaces (only ' ', as the file names and
// settings texts of the application are trimmed).
std::string TrimSpaces(const std::string& text);

// ASCII-only case changes: safe on UTF-8 text, independent of the locale.
std::string AsciiLower(std::string text);
std::string AsciiUpper(std::string text);

}  // namespace kalvor
