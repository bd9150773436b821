#include "app/QtDesktop.h"

#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "core/windows/WindowText.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <algorithm>
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
    // The time of a day file has no zone, so its text names none: only the day-half markers
    // may be letters.
    QString letters = windows::fromBytes(locale.longTime(t));
    letters.remove(QLocale::system().amText()).remove(QLocale::system().pmText());
    EXPECT_FALSE(std::any_of(letters.begin(), letters.end(), [](QChar c) { return c.isLetter(); }))
        << locale.longTime(t);
}

TEST(QtDesktop, ClockReadsTheLocalTimeAndTheTicksSinceBoot) {
    const QtClock clock;
    const LocalDateTime before = clock.now();
    const std::uint64_t ticks = clock.tickCount();
    EXPECT_GE(before.year, 2024);
    EXPECT_GT(ticks, 0u);
    EXPECT_GE(clock.tickCount(), ticks);
}

// The trash on a fresh account: HOME is a new directory (or, where no trash can be made, a
// plain file), and the current directory is watched for a trash made in the wrong place.
class Trashing : public ::testing::Test {
protected:
    Trashing() : oldHome_(qgetenv("HOME")), oldDataHome_(qgetenv("XDG_DATA_HOME")) {
        qunsetenv("XDG_DATA_HOME");
        qputenv("HOME", QByteArray::fromStdString((home.path()).string()));
        oldCurrent_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(current.path().string()));
        std::filesystem::create_directories(sites / "Depot" / "Raw");
        testing::writeFile(sites / "Depot" / "checkpt.lst", "list");
    }
    ~Trashing() override {
        QDir::setCurrent(oldCurrent_);
        qputenv("HOME", oldHome_);
        if (!oldDataHome_.isEmpty())
            qputenv("XDG_DATA_HOME", oldDataHome_);
    }
    std::filesystem::path homeTrash() const { return home / ".local/share/Trash"; }

    testing::TempDir home;
    testing::TempDir current;
    testing::TempDir sites;

private:
    QByteArray oldHome_;
    QByteArray oldDataHome_;
    QString oldCurrent_;
};

TEST_F(Trashing, MakesTheMissingHomeTrashAndMovesTheDirectoryIntoIt) {
    ASSERT_FALSE(std::filesystem::exists(home / ".local"));
    QtTrash trash;
    ASSERT_TRUE(trash.moveToTrash(sites / "Depot"));
    EXPECT_FALSE(std::filesystem::exists(sites / "Depot"));
    EXPECT_EQ(testing::readFile(homeTrash() / "files" / "Depot" / "checkpt.lst"), "list");
    EXPECT_TRUE(std::filesystem::exists(homeTrash() / "info" / "Depot.trashinfo"));
    EXPECT_FALSE(std::filesystem::exists(current / "files"));
}

TEST_F(Trashing, WhereNoTrashCanBeMadeNothingMovesAndTheMoveFails) {
    testing::writeFile(home / "not-a-directory", "");
    qputenv("HOME", QByteArray::fromStdString((home / "not-a-directory").string()));
    QtTrash trash;
    EXPECT_FALSE(trash.moveToTrash(sites / "Depot"));
    EXPECT_EQ(testing::readFile(sites / "Depot" / "checkpt.lst"), "list");
    EXPECT_FALSE(std::filesystem::exists(current / "files" / "Depot"));
    EXPECT_FALSE(std::filesystem::exists(current / "info" / "Depot.trashinfo"));
}

} // namespace
} // namespace kestrova::app
