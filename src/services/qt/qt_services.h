#pragma once
// The application services that need the platform: everything the windows call
// at start and end, and the message and version boxes.
#include "services/qt/companion_programs.h"
#include "services/qt/diagnostic_switches.h"
#include "services/qt/file_dialog.h"
#include "services/qt/identity.h"
#include "services/qt/interface_language.h"
#include "services/qt/keep_tags.h"
#include "services/qt/language_mode.h"
#include "services/qt/message_box.h"
#include "services/qt/message_box_hook.h"
#include "services/qt/program_folder.h"
#include "services/qt/screen_units.h"
#include "services/qt/settings_store.h"
#include "services/qt/single_instance.h"
#include "services/qt/ui_fonts.h"
#include "services/qt/version_info.h"
#include "services/qt/window_placement.h"
