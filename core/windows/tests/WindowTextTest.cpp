#include "core/windows/WindowText.h"

#include <gtest/gtest.h>

namespace kestrova::windows {
namespace {

TEST(WindowText, TextsCrossBetweenBytesAndUnicode) {
    const std::string bytes = "Caf\xe9 \x80 (N\xb0 1)";
    const QString text = fromBytes(bytes);
    EXPECT_EQ(text, QString::fromUtf8("Café € (N° 1)"));
    EXPECT_EQ(toBytes(text), bytes);
}

} // namespace
} // namespace kestrova::windows
