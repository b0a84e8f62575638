#pragma once
// The platform's open and save dialogs, asked the way every kalvor dialog asks:
// a filter of "description|patterns" pairs, an initial folder and name, and the
// dialog flags of the classic file dialogs (-1 for kalvor's defaults).
//
// Tests never see a modal dialog: a hook set with SetFileDialogHook answers
// every dialog in the user's place, and the answer goes through the same checks
// as a choice made in the dialog.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "services/ui_text.h"

class QWidget;

namespace kalvor {

// The filter of every kalvor dialog.
// Shown through UiText(kFileDialogContext, ...), in the interface's language.
inline constexpr const char* kFileDialogContext = "FileDialog";
inline constexpr const char* kMpegAudioFilter =
    KALVOR_TR_NOOP("FileDialog", "mpegオーディオファイル|*.mp3;*.mp2;*.mp1");

// Dialog flags, as the classic file dialogs number them.
inline constexpr std::int32_t kDialogDefaultFlags = -1;
inline constexpr std::int32_t kOfnOverwritePrompt = 0x2;
inline constexpr std::int32_t kOfnHideReadOnly = 0x4;
inline constexpr std::int32_t kOfnNoValidate = 0x100;
inline constexpr std::int32_t kOfnFileMustExist = 0x1000;
inline constexpr std::int32_t kOfnExplorer = 0x80000;
// What -1 stands for: explorer style and no read-only box for both; a save
// dialog asks before replacing a file, an open dialog accepts existing files only.
inline constexpr std::int32_t kSaveDialogFlags = kOfnExplorer | kOfnHideReadOnly | kOfnOverwritePrompt;
inline constexpr std::int32_t kOpenDialogFlags = kOfnExplorer | kOfnFileMustExist | kOfnNoValidate | kOfnHideReadOnly;

// The longest path a dialog hands back, in characters; a longer choice is
// refused (empty text) rather than cut to a path that names another file.
inline constexpr std::size_t kFileDialogPathLimit = 254;

// One dialog as kalvor asks for it, flags already resolved.
struct FileDialogRequest {
    bool Save = false;
    std::string Filter;
    std::string InitialFolder;  // without a trailing separator
    std::string InitialName;
    std::int32_t Flags = 0;
};

// Answers a dialog in the user's place: the chosen path, or empty text for Cancel.
using FileDialogHook = std::function<std::string(const FileDialogRequest&)>;

// Installs the hook (an empty function removes it). While set, no dialog is shown.
void SetFileDialogHook(FileDialogHook hook);

// The flags a dialog is shown with: flags unchanged, or the default of its kind for -1.
std::int32_t ResolveDialogFlags(bool save, std::int32_t flags);

// The filter's "description|patterns" pairs as Qt name filters
// ("mpegオーディオファイル (*.mp3 *.mp2 *.mp1)"); a description without
// patterns is dropped.
std::vector<std::string> QtNameFilters(const std::string& filter);

// What a dialog returns for the chosen text: up to the first zero character,
// trimmed; empty when longer than kFileDialogPathLimit characters.
std::string DialogResult(const std::string& chosen);

// The folder a dialog opens in: documentFile's folder while a document is
// open, else the folder of the last answer a dialog gave, else the user's home
// folder. Never the folder that happens to be current: that is the program's,
// whose working files are the last thing a user should pick.
std::string DialogStartFolder(const std::string& documentFile);

// Shows the open (save false) or save dialog modally over owner and returns the
// chosen full path, or empty text when the user cancelled; a chosen path's
// folder is remembered for DialogStartFolder. Pending window events
// are processed twice afterwards so that the owner repaints before the caller
// goes on.
std::string FileDialog(QWidget* owner, bool save, const std::string& filter, const std::string& initialFolder,
                       const std::string& initialName, std::int32_t flags);

}  // namespace kalvor
