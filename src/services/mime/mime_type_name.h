#pragma once
// The type name of the file information report as the platform gives it.
#include <string>

namespace kalvor {

// The shared MIME database's description of the type the file's name and
// content show, in the language of Qt's default locale ("MP3 audio", or
// "MP3 オーディオ" for a Japanese interface); empty text when there is none.
// For FileInfoReport's type-name hook.
std::string MimeTypeName(const std::string& path);

}  // namespace kalvor
