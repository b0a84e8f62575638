#include "services/c_file.h"

#include <filesystem>

namespace kalvor {

bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

std::FILE* OpenUnbuffered(const std::string& path, const char* mode) {
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (f) std::setvbuf(f, nullptr, _IONBF, 0);
    return f;
}

bool SeekTo(std::FILE* f, std::int64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(f, offset, origin) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t TellOf(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return static_cast<std::int64_t>(ftello(f));
#endif
}

}  // namespace kalvor
