#include "core/windows/WindowText.h"

#include "core/Windows1252.h"

namespace kestrova::windows {

QString fromBytes(const std::string& bytes) {
    return QString::fromStdString(windows1252ToUtf8(bytes));
}

std::string toBytes(const QString& text) {
    return utf8ToWindows1252(text.toStdString());
}

} // namespace kestrova::windows
