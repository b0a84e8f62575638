#include "services/qt/companion_programs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "services/app_folder.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/qt/identity.h"
#include "services/qt/settings_store.h"

namespace kalvor {
namespace {

// The companion volume mixer, looked for in the program folder.
constexpr const char* kMixerBaseName = "pegelor";
#ifdef _WIN32
constexpr const char* kMixerFileName = "pegelor.exe";
#else
constexpr const char* kMixerFileName = "pegelor";
#endif

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Quoted(const std::string& text) {
    return text.find(' ') == std::string::npos ? text : '"' + text + '"';
}

bool IsCompanionMixer(const std::string& ownName) {
    return QString::compare(Q(ownName), kMixerBaseName, Qt::CaseInsensitive) == 0;
}

std::string OwnExecutableName() {
    if (!QCoreApplication::instance()) return {};
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

}  // namespace

std::string SystemFolder() {
#ifdef _WIN32
    return SetTrailingSep(qEnvironmentVariable("SystemRoot", "C:\\Windows").toStdString() + "\\System32", false);
#else
    return "/usr/bin/";
#endif
}

std::string FindRegApp() {
    return Trapped(std::string(), [] {
        const std::string setting = ReadSetting("RegApp", "");
        if (FileExists(setting) == 1) return setting;
        const std::string companion = ProgramFilePath(kCompanionExecutable);
        return FileExists(companion) == 1 ? companion : std::string();
    });
}

std::optional<ProgramCall> ChooseVolumeMixer(const MixerSearch& search) {
    if (!search.MixerSetting.empty() && search.FileExists(search.MixerSetting))
        return ProgramCall{search.MixerSetting, ""};
#ifdef _WIN32
    if (IsCompanionMixer(search.OwnName)) return ProgramCall{"Sndvol32.exe", ""};
    if (search.FileExists(search.CompanionMixer)) return ProgramCall{search.CompanionMixer, ""};
    if (search.FileExists(search.SystemFolder + "Sndvol32.exe"))
        return ProgramCall{search.SystemFolder + "Sndvol32.exe", ""};
    return ProgramCall{search.SystemFolder + "Sndvol.exe", ""};
#else
    if (!IsCompanionMixer(search.OwnName) && search.FileExists(search.CompanionMixer))
        return ProgramCall{search.CompanionMixer, ""};
    // The desktops' own volume controls, the most common first.
    static const ProgramCall kDesktopMixers[] = {{"pavucontrol", ""},
                                                 {"pavucontrol-qt", ""},
                                                 {"pwvucontrol", ""},
                                                 {"kmix", ""},
                                                 {"gnome-control-center", "sound"}};
    for (const auto& mixer : kDesktopMixers) {
        const std::string path = search.FindOnPath(mixer.Program);
        if (!path.empty()) return ProgramCall{path, mixer.Argument};
    }
    return std::nullopt;
#endif
}

void OpenVolumeMixer() {
    TrappedRun([] {
        MixerSearch search;
        search.MixerSetting = ReadSetting("MixerApp", "");
        search.OwnName = OwnExecutableName();
        search.CompanionMixer = ProgramFilePath(kMixerFileName);
        search.SystemFolder = SystemFolder();
        search.FileExists = [](const std::string& path) { return FileExists(path) == 1; };
        search.FindOnPath = [](const std::string& name) {
            return QStandardPaths::findExecutable(Q(name)).toStdString();
        };
        if (const auto call = ChooseVolumeMixer(search)) RunProgram(call->Program, call->Argument, 1, "");
    });
}

std::string CommandLineText(const std::string& path, const std::string& firstArg, const std::string& secondArg) {
    std::string line = Quoted(path);
    if (!firstArg.empty()) line += ' ' + Quoted(firstArg);
    if (!secondArg.empty()) line += ' ' + secondArg;
    return line;
}

std::int32_t RunProgram(const std::string& path, const std::string& firstArg, std::int32_t style,
                        const std::string& secondArg) {
    // Every start shows a normal window with focus; the style is kept for callers
    // that name it, as only the Windows shell could honour another.
    (void)style;
    return Trapped(std::int32_t{0}, [&]() -> std::int32_t {
        if (path.empty()) return 0;
        QProcess process;
        process.setProgram(Q(path));
#ifdef _WIN32
        // Windows programs parse their own command line: hand it over as built.
        const std::string line = CommandLineText(path, firstArg, secondArg);
        process.setNativeArguments(Q(line.substr(Quoted(path).size())));
#else
        QStringList arguments;
        if (!firstArg.empty()) arguments << Q(firstArg);
        if (!secondArg.empty()) arguments << QProcess::splitCommand(Q(secondArg));
        process.setArguments(arguments);
#endif
        qint64 pid = 0;
        if (!process.startDetached(&pid)) return 0;
        return pid > 0 && pid <= INT32_MAX ? static_cast<std::int32_t>(pid) : 1;
    });
}

}  // namespace kalvor
