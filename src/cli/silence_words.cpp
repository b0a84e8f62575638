#include "cli/silence_words.h"

#include <algorithm>
#include <cstdlib>

#include "mpeg/audio_time_scale.h"

#ifdef KALVOR_HAVE_LEVELS
#include "levels/level_keeper.h"
#endif

namespace kalvor::cli {
namespace {

// The value after flag, as a number within [low, high].
double TakeNumber(Args& args, const std::string& flag, double fallback, double low, double high) {
    const auto at = std::find(args.begin(), args.end(), flag);
    if (at == args.end()) return fallback;
    if (at + 1 == args.end()) throw UsageError{flag + " needs a value"};
    const std::string word = *(at + 1);
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !(value >= low && value <= high)) {
        throw UsageError{flag + " takes a number from " + std::to_string(low) + " to " + std::to_string(high) + ": " +
                         word};
    }
    args.erase(at, at + 2);
    return value;
}

}  // namespace

SilenceRule TakeSilenceWords(Args& args) {
    SilenceRule rule;
    rule.ThresholdDb = TakeNumber(args, "--threshold", rule.ThresholdDb, -127.0, -0.5);
    rule.MinSeconds = TakeNumber(args, "--min", rule.MinSeconds, 0.001, 3600.0);
    return rule;
}

bool TakeFlag(Args& args, const std::string& flag) {
    const auto at = std::find(args.begin(), args.end(), flag);
    if (at == args.end()) return false;
    args.erase(at);
    return true;
}

bool SourceSilences(const ListDocument& document, const SilenceRule& rule, std::vector<Silence>& silences) {
#ifdef KALVOR_HAVE_LEVELS
    LevelKeeper levels;
    levels.Opened(document.CurFile, document.Info);
    levels.Wait();
    if (levels.Progress().Failed) {
        Fail(document.CurFile + ": no frame could be decoded");
        return false;
    }
    const AudioTimeScale time = document.TimeScale();
    silences = FindSilences(levels, time.FirstFramePos(), time.AudioEndPos(), rule,
                            [&](std::int64_t pos) { return time.PosToMs(static_cast<std::int32_t>(pos)); });
    return true;
#else
    (void)rule;
    (void)silences;
    Fail(document.CurFile + ": this kalvor-cli was built without the level decoder");
    return false;
#endif
}

}  // namespace kalvor::cli
