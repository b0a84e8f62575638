#pragma once
// The local wall clock as kalvor shows it: date and time texts for file times
// and log lines, and the seconds-since-midnight clock that timed waits read.
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace kalvor {

// A moment split into local calendar fields; empty when the platform cannot
// convert it (a time outside its calendar).
std::optional<std::tm> ToLocalTime(std::time_t moment);

// Date and time text of local fields. parts: bit value 1 the date, 2 the time.
// style 0: YYYYMMDD and HHMMSS with nothing between them; 1: YYYY/MM/DD HH:MM:SS;
// 2: YYYY年MM月DD日 HH時MM分SS秒. Year four digits, the rest two, zero-padded.
// Another style, or no part asked for, gives "".
std::string DateTimeText(const std::tm& local, int parts, int style);

// Now, local, as "YYYY/MM/DD HH:MM:SS" (the log's time stamp).
std::string NowText();

// Seconds since local midnight, with the fractions of the clock (0 to 86 399.999…).
double SecondsSinceMidnight();

// Replaces the clock SecondsSinceMidnight reads (tests drive waits with it);
// an empty function restores the system clock.
using MidnightClock = std::function<double()>;
void SetMidnightClock(MidnightClock clock);

}  // namespace kalvor
