#include "FuzzForm.h"

#include <QFile>

namespace fuzz {

void WriteFile(const std::string& path, std::string_view bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace fuzz
