#pragma once
// Texts a user reads are written in Japanese where they are made, and that is
// what they stay unless a front end that speaks another language installs a
// lookup here (the windows and kalvor-cli fill it from their translation
// catalogue). The core passes each such text through UiText when it hands it up.
#include <functional>
#include <string>

// Marks a text for the translation catalogue and stands for the text itself.
// The catalogue's tool reads it as Qt's QT_TRANSLATE_NOOP: the context names
// the group the text belongs to, and UiText is asked with the same context.
#define KALVOR_TR_NOOP(context, text) text

namespace kalvor {

// Gives the text of context in the interface's language, or empty text when it has none.
using TextLookup = std::function<std::string(const char* context, const std::string& text)>;

// Installs lookup for the whole process; an empty one leaves every text as written.
void SetTextLookup(TextLookup lookup);

// text (as written, in Japanese) in the interface's language.
std::string UiText(const char* context, const std::string& text);

}  // namespace kalvor
