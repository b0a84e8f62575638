#pragma once
// File operations the whole application leans on. Every one catches its own
// faults and answers with its neutral result (0, "" or false); none shows a
// message or writes the log. Truth results are 1 (yes) and 0 (no).
#include <cstdint>
#include <string>

#include "services/path_text.h"

namespace kalvor {

// 1 when path is not blank and names an existing file (anything but a folder,
// following symbolic links); else 0.
int FileExists(const std::string& path);

// 1 when path is not empty and, without one trailing separator, names an
// existing folder; else 0.
int FolderExists(const std::string& path);

// 1 when the folder (path without its trailing separator) was created; 0 when
// it already existed or could not be made (only one level is created).
int CreateFolder(const std::string& path);

// 1 when the file is gone afterwards or was never there, 0 when it could not be
// deleted (a folder is not a file and is never deleted). A read-only file is
// deleted. A path that names a device of this platform is left alone and
// reported as 1 (on Windows the reserved device names, elsewhere device files).
int RemoveFile(const std::string& path);

// Moves source to target (another folder of the same volume is fine); 1 when the
// source now has the target's name. With replace, an existing target is removed
// first; without it, an existing target makes every attempt fail. Ten attempts,
// waiting 10, 20, … 90 ms between them with WaitWithEvents (450 ms in all), so a
// file another program holds for a moment can still be moved. Device paths give
// 0 at once. Naming the same file twice never deletes it.
int RenameFile(const std::string& source, const std::string& target, bool replace);

// Copies source to target, overwriting an existing target; 1 when the copy was
// made. With replace, a target that RemoveFile cannot delete gives 0. The copy
// is written beside the target and renamed into place, so a failed copy leaves
// no partial file and an existing target as it was. Copying a file onto itself
// gives 0 and touches nothing.
int CopyFileTo(const std::string& source, const std::string& target, bool replace);

// The time of a file as text: which 0 creation (on Linux the birth time where the
// file system keeps one, else the last status change), 1 last access, 2 last
// write; parts and style as DateTimeText (local_time.h). "" when the file cannot
// be opened for reading, is a folder, or its time cannot be read.
std::string FileTimeText(const std::string& path, int which, int parts, int style);

// Keeps the windows alive while waiting: PumpEvents() repeatedly, sleeping
// sliceMs between checks when positive, until the seconds-since-midnight clock
// (SecondsSinceMidnight) has advanced by more than ms (in whole milliseconds). A
// reading below the start means midnight passed (86 400 s are added); readings
// are held within 0 … 86 399.999. ms <= 0 pumps once and returns.
void WaitWithEvents(std::int32_t ms, std::int32_t sliceMs);

// true when both texts name the same file: compared absolute and lexically
// normal, with symbolic links resolved as far as the path exists and without a
// trailing separator (ignoring case on Windows). Empty text names no file.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace kalvor
