#pragma once
// The "KeepTags" setting (default 1): whether files written for the user (saved
// versions, written selections, split pieces, built files) get the opened
// file's tags around their audio. 0 writes audio only, as kalvor always did.

namespace kalvor {

// Reads the setting; a value that is not a number counts as the default.
bool ReadKeepTags();

}  // namespace kalvor
