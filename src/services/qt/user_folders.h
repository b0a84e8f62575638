#pragma once
// The current user's own folders for kalvor, where an installed copy keeps what
// it cannot keep beside its executable.
#include <string>

namespace kalvor {

// The per-user data folder ("kalvor" in ~/.local/share, or in $XDG_DATA_HOME):
// the working files and the log. Created when missing; ends in the separator;
// empty when it cannot be made.
std::string UserDataFolder();

// The per-user config folder ("kalvor" in ~/.config, or in $XDG_CONFIG_HOME):
// "kalvor.ini". Created when missing; ends in the separator; empty when it
// cannot be made.
std::string UserConfigFolder();

}  // namespace kalvor
