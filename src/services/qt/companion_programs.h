#pragma once
// The programs kalvor starts: the companion of the register command, a volume
// mixer, and any program with arguments, always without waiting for them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kalvor {

// The platform's folder of system programs, ending in the separator (on Windows
// the system folder, elsewhere "/usr/bin/").
std::string SystemFolder();

// The companion program of the register command: the setting "RegApp" when a file
// exists there, else kCompanionExecutable in the program folder when it exists,
// else empty text (the window then hides its register command).
std::string FindRegApp();

// A program to start and its one argument (empty: none).
struct ProgramCall {
    std::string Program;
    std::string Argument;
    bool operator==(const ProgramCall&) const = default;
};

// What the platform offers to start a volume mixer, for ChooseVolumeMixer.
struct MixerSearch {
    std::string MixerSetting;    // the setting "MixerApp"
    std::string OwnName;         // this program's executable name without extension
    std::string CompanionMixer;  // where the companion mixer would be: ProgramFilePath("pegelor")
    std::string SystemFolder;    // SystemFolder()
    std::function<bool(const std::string&)> FileExists;
    // The full path of a program found on the search path, or empty text.
    std::function<std::string(const std::string&)> FindOnPath;
};

// The volume mixer to start: "MixerApp" when it exists; else the companion mixer
// "pegelor" in the program folder (unless this program is that mixer); else the
// platform's mixer: on Windows Sndvol32.exe, then Sndvol.exe in the system folder;
// elsewhere the first found of pavucontrol, pavucontrol-qt, pwvucontrol, kmix and
// the GNOME sound settings. Nothing when there is none.
std::optional<ProgramCall> ChooseVolumeMixer(const MixerSearch& search);

// Starts the mixer ChooseVolumeMixer picks on this machine; a failure is swallowed.
void OpenVolumeMixer();

// The command line for a program and its arguments: the path, in double quotes
// when it contains a space; then, when not empty, a space and firstArg, quoted the
// same way; then, when not empty, a space and secondArg unchanged.
std::string CommandLineText(const std::string& path, const std::string& firstArg, const std::string& secondArg);

// Starts the program with the arguments of CommandLineText without waiting, with
// a normal window (style 0 means 1, normal with focus; the style matters only on
// Windows). Returns the started process's number, or 0 when it could not start.
std::int32_t RunProgram(const std::string& path, const std::string& firstArg, std::int32_t style,
                        const std::string& secondArg);

}  // namespace kalvor
