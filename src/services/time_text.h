#pragma once
// Millisecond counts as the text the user reads, and back. The standard notation
// is mode 0, minutes ' seconds . milliseconds ("001'01.234"), which reads back
// to the exact count it was made from.
//
// The numeric test used by TimeTextToMs, spelled once: an optional leading sign
// ("+" or "-"), then digits with at most one ".", and at least one digit in all
// ("90", "-1.5", ".5", "12." pass; "", ".", "1.2.3", " 9", "1e3" do not).
#include <cstdint>
#include <string>

namespace kalvor {

// The time text of ms in the given layout (fields are cut off, never rounded):
//   0 MMM'SS.mmm   1 MM'SS.t     2 HH:MM:SS     3 H:MM:SS.t    4 MM:SS
//   5 SSS.mmm      6 SSS.hh      7 MM:SS.mmm    8 HH:MM:SS.t   9 HH:MM:SS.hh
//   10 HH:MM:SS.mmm  11 HH時MM分SS秒  12 HHMMSS
// Letters give the least number of digits; the leading field (total minutes,
// hours or total seconds) keeps all its digits, the others are reduced modulo
// 60, 1000, 100 or 10. A negative ms gives "-" and its magnitude when
// allowNegative, else the text of 0. Any other mode gives "".
std::string MsToTimeText(std::int32_t ms, int mode = 0, bool allowNegative = false);

// true when text passes the numeric test above.
bool IsNumericText(const std::string& text);

// Reads time text back into milliseconds.
// - A text passing the numeric test is a count of seconds; it goes through a
//   single-precision float on its way ("100000.123" gives 100 000 125).
// - Otherwise a text of at most one character gives 0 and nothing else happens.
// - Otherwise: an optional leading "-", then digit groups separated by ".", ":",
//   "'" or '"'. The first group is hours when there are 3 or more separators, 2 or
//   more colons, or a single colon and nothing else ("12:34" is 12 h 34 min,
//   "12:34.5" and "12'34" are minutes and seconds). The groups fill hours (when
//   chosen), minutes, seconds and the fraction; a fraction of 1 digit means
//   tenths, of 2 hundredths, of 3 or more milliseconds as written; later groups
//   are ignored. A trailing "." belongs to the last group.
// On success *success (when given) is set to 1. On failure (another character,
// an empty group, no minutes, seconds or fraction, a group or a result outside
// 32 bits) the result is -1 when failAsMinusOne, else 0, and *success is left alone.
std::int32_t TimeTextToMs(const std::string& text, bool failAsMinusOne = false, std::int32_t* success = nullptr);

}  // namespace kalvor
