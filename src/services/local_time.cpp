#include "services/local_time.h"

#include <chrono>
#include <cstdio>
#include <utility>

namespace kalvor {
namespace {

MidnightClock& InstalledClock() {
    static MidnightClock clock;
    return clock;
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string FourDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d", value);
    return text;
}

}  // namespace

std::optional<std::tm> ToLocalTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &moment) != 0) return std::nullopt;
#else
    if (localtime_r(&moment, &local) == nullptr) return std::nullopt;
#endif
    return local;
}

std::string DateTimeText(const std::tm& local, int parts, int style) {
    if (style < 0 || style > 2) return {};
    const std::string year = FourDigits(local.tm_year + 1900), month = TwoDigits(local.tm_mon + 1),
                      day = TwoDigits(local.tm_mday), hour = TwoDigits(local.tm_hour), minute = TwoDigits(local.tm_min),
                      second = TwoDigits(local.tm_sec);
    std::string date, time;
    switch (style) {
        case 0:
            date = year + month + day;
            time = hour + minute + second;
            break;
        case 1:
            date = year + "/" + month + "/" + day;
            time = hour + ":" + minute + ":" + second;
            break;
        default:
            date = year + "年" + month + "月" + day + "日";
            time = hour + "時" + minute + "分" + second + "秒";
            break;
    }
    const bool withDate = (parts & 1) != 0, withTime = (parts & 2) != 0;
    if (withDate && withTime) return date + (style == 0 ? "" : " ") + time;
    if (withDate) return date;
    if (withTime) return time;
    return {};
}

std::string NowText() {
    const auto local = ToLocalTime(std::time(nullptr));
    return local ? DateTimeText(*local, 3, 1) : std::string();
}

double SecondsSinceMidnight() {
    if (const auto& clock = InstalledClock()) return clock();
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto second = floor<seconds>(now);
    const auto local = ToLocalTime(system_clock::to_time_t(second));
    if (!local) return 0.0;
    const double fraction = duration<double>(now - second).count();
    return local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec + fraction;
}

void SetMidnightClock(MidnightClock clock) {
    InstalledClock() = std::move(clock);
}

}  // namespace kalvor
