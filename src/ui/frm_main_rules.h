#pragma once
// The small rules of the main window that need no window: the caption, the
// path taken from the command line, the hand-over target of the register
// command and the texts of the information panel.
#include <array>
#include <cstdint>
#include <string>

#include "services/ui_text.h"

namespace kalvor {

// The program's title, " - " and the maker's name.
std::string MainWindowCaption();

// The command line as one path: every double quote removed, so a quoted path
// with blanks opens and two paths open nothing. A relative path is taken from
// startFolder, the folder the program was started in (the start makes another
// folder current); empty text stays empty.
std::string CommandLinePath(const std::string& commandLine, const std::string& startFolder);

// Where the register command copies the current version: the work folder
// followed by the opened file's name, or "new.mpg" with no document open.
std::string HandOverTarget(const std::string& workFolder, const std::string& orgFile);

// The information panel's labels, rows 0 to 3 (fields 4 to 7).
inline constexpr std::array<const char*, 4> kInfoLabels{
    KALVOR_TR_NOOP("kalvor::FrmMain", "全体"), KALVOR_TR_NOOP("kalvor::FrmMain", "開始"),
    KALVOR_TR_NOOP("kalvor::FrmMain", "終了"), KALVOR_TR_NOOP("kalvor::FrmMain", "選択")};

// The four value texts (fields 0 to 3): the duration and the selection's
// start, end and length, each as time text.
std::array<std::string, 4> InfoValueTexts(std::int32_t durationMs, std::int32_t selStartMs, std::int32_t selEndMs,
                                          std::int32_t selLengthMs);

}  // namespace kalvor
