#pragma once
// kalvor's settings: a handful of text values under fixed keys. They live in
// "kalvor.ini" (section "conf") in the program folder when that file exists at
// start, otherwise in the per-user native store (organisation OrganisationName(),
// application "kalvor"). An installed copy with no "kalvor.ini" beside it keeps
// them in a "kalvor.ini" of the user's instead (UseUserProfileFile). The choice is made once and holds until
// the program ends.
//
// Values are text. Callers pass a default of their own type; it comes back as
// text when the key is missing, and the caller converts the text (ParseSetting*).
// Empty text is stored as "***". With the profile file, a missing key (or one
// holding literally "ISDEFAULT") gets its default written when read, so the file
// documents every key the program reads; the native store is never written by reading.
#include <cstdint>
#include <optional>
#include <string>

namespace kalvor {

enum class SettingsStoreKind { ProfileFile, NativeStore };

// Decides the store from the presence of "kalvor.ini" in AppFolder(), on the first
// call only; later calls return the choice made. Call after SetAppFolder.
SettingsStoreKind ChooseSettingsStore();
// Forgets the choice so that the next ChooseSettingsStore decides anew. Tests only.
void ResetSettingsStoreChoice();

// The settings of an installed copy, which has no program folder of its own:
// the profile file at path, made when first written, whether or not it exists.
// Call before ChooseSettingsStore; empty text goes back to the program folder's file.
void UseUserProfileFile(const std::string& path);

// "kalvor.ini" in the program folder, or the user's file of UseUserProfileFile.
std::string ProfileFilePath();

// The text that stands for empty text in the store.
inline constexpr const char* kEmptyMarker = "***";
// The longest value, in characters, that reads back whole from the profile file.
inline constexpr std::size_t kProfileValueLimit = 254;

std::string ReadSetting(const std::string& key, std::int32_t defaultValue);
std::string ReadSetting(const std::string& key, float defaultValue);
std::string ReadSetting(const std::string& key, std::int16_t defaultValue);
std::string ReadSetting(const std::string& key, const std::string& defaultValue);
std::string ReadSetting(const std::string& key, const char* defaultValue);

// Stores the value as text; a failure to write is not reported.
void WriteSetting(const std::string& key, std::int32_t value);
void WriteSetting(const std::string& key, float value);
void WriteSetting(const std::string& key, std::int16_t value);
void WriteSetting(const std::string& key, const std::string& value);
void WriteSetting(const std::string& key, const char* value);

// Numbers as settings text: the shortest text that reads back as the same value.
std::string SettingText(std::int32_t value);
std::string SettingText(float value);

// Settings text as numbers; nothing when the text is not a number of that kind
// (blanks around it are allowed, a fraction rounds to the nearest integer, ties to even).
std::optional<std::int32_t> ParseSettingInt32(const std::string& text);
std::optional<float> ParseSettingFloat(const std::string& text);

}  // namespace kalvor
