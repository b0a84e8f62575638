#include "services/ui_text.h"

#include <mutex>

namespace kalvor {
namespace {

// Set once at start, read from whichever thread makes a text.
std::mutex g_mutex;
TextLookup g_lookup;

}  // namespace

void SetTextLookup(TextLookup lookup) {
    const std::lock_guard lock(g_mutex);
    g_lookup = std::move(lookup);
}

std::string UiText(const char* context, const std::string& text) {
    TextLookup lookup;
    {
        const std::lock_guard lock(g_mutex);
        lookup = g_lookup;
    }
    if (!lookup || text.empty()) return text;
    std::string translated = lookup(context, text);
    return translated.empty() ? text : translated;
}

}  // namespace kalvor
