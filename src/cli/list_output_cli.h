#pragma once
// What the split and build commands share: reading their times and writing the
// list the way the list window does, with the source file as the document.
#include <cstdint>
#include <string>

#include "listwin/list_output.h"

namespace kalvor::cli {

// A time word in milliseconds (any form TimeTextToMs reads); bad usage when it
// is not a time or is negative.
std::int32_t TimeWord(const std::string& word, const char* what);

// The source as the open document: CurFile and OrgFile are the path, the
// duration is the analysis', and its tags are kept as the document keeps them.
// False after printing the reason.
bool SourceDocument(const std::string& path, ListDocument& document);

// Fails (exit 1) when ms lies beyond the document's end.
bool WithinDocument(std::int32_t ms, const std::string& word, const ListDocument& document);

// Writes the rows, prints every file written on its own line, and turns the
// result into the exit code.
int WriteRows(const ListRows& rows, const ListDocument& document, const std::string& outputName);

}  // namespace kalvor::cli
