// Texts crossing between the logic and Qt: the logic keeps Windows-1252 bytes (the files'
// encoding), Qt keeps Unicode. Every window converts through these two. Qt Core only.
#pragma once

#include <QString>
#include <string>

namespace kestrova::windows {

QString fromBytes(const std::string& bytes);
std::string toBytes(const QString& text);

} // namespace kestrova::windows
