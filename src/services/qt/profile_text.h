#pragma once
// The text of a profile ("kalvor.ini") file: "[section]" lines, "key=value"
// lines, ";" comments. Values are plain text: no escapes, no lists, and keys and
// sections match without regard to ASCII case, as a hand-edited file expects.
// Lines kalvor does not touch keep their text, order and comments.
#include <optional>
#include <string>

namespace kalvor {

// The value of key in section, trimmed and with one pair of enclosing quotes
// removed; nothing when the section or the key is missing.
std::optional<std::string> ProfileGet(const std::string& fileText, const std::string& section, const std::string& key);

// fileText with key in section set to value: the key's line is replaced, or a
// line is added at the end of the section, or the section is added at the end.
// A value that would not read back as itself (enclosing spaces or quotes) is
// written in quotes; a line break ends the value, since a line holds one key.
std::string ProfileSet(const std::string& fileText, const std::string& section, const std::string& key,
                       const std::string& value);

// text cut to at most maxChars characters, never inside a UTF-8 sequence.
std::string CutToChars(const std::string& text, std::size_t maxChars);

}  // namespace kalvor
