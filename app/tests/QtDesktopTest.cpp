#include "app/QtDesktop.h"

#include "core/testing/FakeDesktop.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

namespace kestrova::app {
namespace {

TEST(QtDesktop, TextsCrossBetweenBytesAndUnicode) {
    const std::string bytes = "Caf\xe9 \x80 (N\xb0 1)";
    const QString text = fromBytes(bytes);
    EXPECT_EQ(text, QString::fromUtf8("Café € (N° 1)"));
    EXPECT_EQ(toBytes(text), bytes);
}

TEST(QtDesktop, LocaleFormatsFollowTheSystemLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QtLocale locale;
    const LocalDateTime t{2024, 3, 5, 14, 7, 9};
    EXPECT_EQ(locale.shortDate(t),
              toBytes(QLocale::system().toString(QDate(2024, 3, 5), QLocale::ShortFormat)));
    EXPECT_NE(locale.longTime(t).find("07:09"), std::string::npos) << locale.longTime(t);
}

TEST(QtDesktop, ClockReadsTheLocalTimeAndTheTicksSinceBoot) {
    const QtClock clock;
    const LocalDateTime before = clock.now();
    const std::uint64_t ticks = clock.tickCount();
    EXPECT_GE(before.year, 2024);
    EXPECT_GT(ticks, 0u);
    EXPECT_GE(clock.tickCount(), ticks);
}

TEST(QtDesktop, TrashTakesAFileAway) {
    testing::TempDir dir;
    testing::writeFile(dir / "old.txt", "x");
    QtTrash trash;
    const bool moved = trash.moveToTrash(dir / "old.txt");
    // A machine without a trash can refuses; a refusal must leave the file in place.
    EXPECT_EQ(std::filesystem::exists(dir / "old.txt"), !moved);
}

} // namespace
} // namespace kestrova::app

int main(int argc, char** argv) {
    // The tests need no screen, also when CTest lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
