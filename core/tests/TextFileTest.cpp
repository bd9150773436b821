#include "core/TextFile.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

struct SplitCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

void PrintTo(const SplitCase& row, std::ostream* out) {
    *out << row.name;
}

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, TakesEveryLineEndAndAnUnendedLastLine) {
    EXPECT_EQ(splitLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, SplitLines,
                         ::testing::Values(SplitCase{"Empty", "", {}},
                                           SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                                           SplitCase{"Lf", "a\nb\n", {"a", "b"}},
                                           SplitCase{"Cr", "a\rb\r", {"a", "b"}},
                                           SplitCase{"Mixed", "a\r\n\nb\rc", {"a", "", "b", "c"}},
                                           SplitCase{"EmptyLines", "\r\n\r\n", {"", ""}},
                                           SplitCase{"NoEnd", "only", {"only"}},
                                           SplitCase{"HighBytes", "caf\xe9\r\n", {"caf\xe9"}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TextFile, WritesCrLfAndKeepsBytes) {
    TempDir dir;
    replaceFileLines(dir / "a.txt", {"\xe9t\xe9", "", "x"});
    EXPECT_EQ(readFile(dir / "a.txt"), "\xe9t\xe9\r\n\r\nx\r\n");
}

TEST(TextFile, ReplaceLeavesNoTemporaryBehind) {
    TempDir dir;
    writeFile(dir / "a.txt", "old\r\n");
    replaceFile(dir / "a.txt", "new\r\n");
    EXPECT_EQ(readFile(dir / "a.txt"), "new\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(TextFile, ReplaceIntoMissingDirectoryFailsAndKeepsNothing) {
    TempDir dir;
    EXPECT_THROW(replaceFile(dir / "missing" / "a.txt", "x"), IoError);
    EXPECT_THROW(readLines(dir / "absent.txt"), IoError);
    EXPECT_THROW(readLines(dir.path()), IoError); // a directory opens but cannot be read
}

TEST(TextFile, AppendCreatesThenAppends) {
    TempDir dir;
    appendLine(dir / "log.txt", "one");
    appendLine(dir / "log.txt", "two");
    EXPECT_EQ(readFile(dir / "log.txt"), "one\r\ntwo\r\n");
}

TEST(FileNames, ResolvesWithoutRegardToCase) {
    TempDir dir;
    writeFile(dir / "Checkpt.lst", "x");
    EXPECT_EQ(resolveInDirectory(dir.path(), "checkpt.lst"), dir / "Checkpt.lst");
    EXPECT_EQ(resolveInDirectory(dir.path(), "CHECKPT.LST"), dir / "Checkpt.lst");
    EXPECT_EQ(resolveInDirectory(dir.path(), "Raw.txt"), dir / "Raw.txt");
}

TEST(FileNames, PrefersTheExactSpelling) {
    TempDir dir;
    writeFile(dir / "Raw.Txt", "a");
    writeFile(dir / "Raw.txt", "b");
    EXPECT_EQ(resolveInDirectory(dir.path(), "Raw.txt"), dir / "Raw.txt");
}

} // namespace
} // namespace kestrova
