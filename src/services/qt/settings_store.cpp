#include "services/qt/settings_store.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

#include <charconv>
#include <cmath>

#include "services/app_folder.h"
#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/path_text.h"
#include "services/qt/identity.h"
#include "services/qt/profile_text.h"

namespace kalvor {
namespace {

constexpr const char* kSection = "conf";
// What the profile file answers for a key it does not hold; a value stored as
// this text therefore counts as missing too.
constexpr const char* kMissing = "ISDEFAULT";

std::optional<SettingsStoreKind>& Choice() {
    static std::optional<SettingsStoreKind> choice;
    return choice;
}

std::string& UserProfile() {
    static std::string path;
    return path;
}

SettingsStoreKind Store() {
    return ChooseSettingsStore();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string StoredForm(const std::string& text) {
    return text.empty() ? kEmptyMarker : text;
}
std::string ReadForm(const std::string& text) {
    return text == kEmptyMarker ? std::string() : text;
}

// The file's text; nothing when it cannot be read (or is gone). The user's
// file of an installed copy starts empty until it is first written.
std::optional<std::string> ProfileFileText() {
    QFile file(Q(ProfileFilePath()));
    if (!UserProfile().empty() && !file.exists()) return std::string();
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return text.toStdString();
}

void WriteProfile(const std::string& key, const std::string& text) {
    // Written from what could not be read, the file would lose every other key.
    const std::optional<std::string> current = ProfileFileText();
    if (!current) return;
    const std::string updated = ProfileSet(*current, kSection, key, text);
    QSaveFile file(Q(ProfileFilePath()));
    // A read-only program folder with a writable "kalvor.ini" is still written.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(updated.data(), static_cast<qint64>(updated.size()));
    file.commit();
}

std::string ReadProfile(const std::string& key, const std::string& defaultText) {
    const std::optional<std::string> current = ProfileFileText();
    const auto stored = current ? ProfileGet(*current, kSection, key) : std::nullopt;
    if (!stored || *stored == kMissing) {
        if (current) WriteProfile(key, StoredForm(defaultText));
        return ReadForm(defaultText);
    }
    return ReadForm(CutToChars(*stored, kProfileValueLimit));
}

std::string ReadNative(const std::string& key, const std::string& defaultText) {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Q(OrganisationName()), kAppTitle);
    const QVariant value = settings.value(Q(key));
    if (!value.isValid()) return ReadForm(defaultText);
    // A hand-edited value with commas comes back from the store as a list.
    const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(',') : value.toString();
    return ReadForm(CutAtNul(text.toStdString()));
}

void WriteNative(const std::string& key, const std::string& text) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Q(OrganisationName()), kAppTitle);
    settings.setValue(Q(key), Q(text));
    settings.sync();
}

std::string Read(const std::string& key, const std::string& defaultText) {
    return Trapped(ReadForm(defaultText), [&] {
        return Store() == SettingsStoreKind::ProfileFile ? ReadProfile(key, defaultText) : ReadNative(key, defaultText);
    });
}

void Write(const std::string& key, const std::string& text) {
    TrappedRun([&] {
        if (Store() == SettingsStoreKind::ProfileFile)
            WriteProfile(key, StoredForm(text));
        else
            WriteNative(key, StoredForm(text));
    });
}

// A finite number written in full (an optional leading "+" is accepted).
template <class T>
std::optional<T> ParseNumber(const std::string& text) {
    std::string t = TrimSpaces(text);
    if (!t.empty() && t.front() == '+') t.erase(0, 1);
    T value{};
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

SettingsStoreKind ChooseSettingsStore() {
    if (!Choice()) {
        // Without a program folder there is no profile file to look for (and none
        // to pick up from whatever folder happens to be current).
        const bool profile = !UserProfile().empty() || (!AppFolder().empty() && QFile::exists(Q(ProfileFilePath())));
        Choice() = profile ? SettingsStoreKind::ProfileFile : SettingsStoreKind::NativeStore;
    }
    return *Choice();
}

void ResetSettingsStoreChoice() {
    Choice().reset();
}

void UseUserProfileFile(const std::string& path) {
    UserProfile() = path;
}

std::string ProfileFilePath() {
    return UserProfile().empty() ? ProgramFilePath(std::string(kAppTitle) + ".ini") : UserProfile();
}

std::string SettingText(std::int32_t value) {
    return std::to_string(value);
}

std::string SettingText(float value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::optional<std::int32_t> ParseSettingInt32(const std::string& text) {
    const auto value = ParseNumber<double>(text);
    if (!value || *value < -2147483648.5 || *value >= 2147483647.5) return std::nullopt;
    return RoundHalfEven(*value);
}

std::optional<float> ParseSettingFloat(const std::string& text) {
    return ParseNumber<float>(text);
}

std::string ReadSetting(const std::string& key, std::int32_t defaultValue) {
    return Read(key, SettingText(defaultValue));
}
std::string ReadSetting(const std::string& key, float defaultValue) {
    return Read(key, SettingText(defaultValue));
}
std::string ReadSetting(const std::string& key, std::int16_t defaultValue) {
    return Read(key, SettingText(std::int32_t{defaultValue}));
}
std::string ReadSetting(const std::string& key, const std::string& defaultValue) {
    return Read(key, defaultValue);
}
std::string ReadSetting(const std::string& key, const char* defaultValue) {
    return Read(key, defaultValue ? defaultValue : "");
}

void WriteSetting(const std::string& key, std::int32_t value) {
    Write(key, SettingText(value));
}
void WriteSetting(const std::string& key, float value) {
    Write(key, SettingText(value));
}
void WriteSetting(const std::string& key, std::int16_t value) {
    Write(key, SettingText(std::int32_t{value}));
}
void WriteSetting(const std::string& key, const std::string& value) {
    Write(key, value);
}
void WriteSetting(const std::string& key, const char* value) {
    Write(key, value ? value : "");
}

}  // namespace kalvor
