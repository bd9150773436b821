#include "app/QtDesktop.h"

#include "core/testing/FakeDesktop.h"
#include "core/windows/WindowText.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

namespace kestrova::app {
namespace {

TEST(QtDesktop, LocaleFormatsFollowTheSystemLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QtLocale locale;
    const LocalDateTime t{2024, 3, 5, 14, 7, 9};
    EXPECT_EQ(locale.shortDate(t), windows::toBytes(QLocale::system().toString(
                                       QDate(2024, 3, 5), QLocale::ShortFormat)));
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
