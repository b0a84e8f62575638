#include "services/mime/mime_type_name.h"

#include <QMimeDatabase>

#include "services/fault_trap.h"

namespace kalvor {

std::string MimeTypeName(const std::string& path) {
    return Trapped(std::string(), [&] {
        const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
        return type.isValid() ? type.comment().toStdString() : std::string();
    });
}

}  // namespace kalvor
