#include "services/qt/identity.h"

#include "services/path_text.h"

namespace kalvor {

std::string OrganisationName() {
    return AsciiLower(kCompanyName);
}

ProgramVersion BuiltVersion() {
    return {KALVOR_VERSION_MAJOR, KALVOR_VERSION_MINOR, KALVOR_VERSION_PATCH};
}

}  // namespace kalvor
