// The default-application query, against a stand-in xdg-mime put first on PATH.
#include "core/SystemQueries.h"

#include "core/testing/FakeDesktop.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

// Puts a script named xdg-mime into a directory of its own and makes that directory the whole
// PATH apart from /bin and /usr/bin, which the script itself needs. Restores PATH afterwards.
class StandInXdgMime {
public:
    explicit StandInXdgMime(const std::string& body)
        : oldPath_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        if (!body.empty()) {
            const fs::path script = dir_.path() / "xdg-mime";
            std::ofstream(script) << "#!/bin/sh\n" << body << "\n";
            fs::permissions(script, fs::perms::owner_all);
        }
        ::setenv("PATH", (dir_.path().string() + ":/usr/bin:/bin").c_str(), 1);
    }
    ~StandInXdgMime() { ::setenv("PATH", oldPath_.c_str(), 1); }
    std::string calls() const { return testing::readFile(dir_ / "calls"); }

private:
    testing::TempDir dir_;
    std::string oldPath_;
};

TEST(DefaultApplicationFor, ReturnsTheAnswerWithoutItsLineEnd) {
    StandInXdgMime xdg("echo \"$@\" >> \"$(dirname \"$0\")/calls\"; printf 'viewer.desktop\\r\\n'");
    EXPECT_EQ(DefaultApplicationFor("application/pdf"), "viewer.desktop");
    EXPECT_EQ(xdg.calls(), "query default application/pdf\n");
}

struct NoAnswerCase {
    std::string name;
    std::string script; // empty: no xdg-mime on PATH at all
    std::string mimeType;
};

void PrintTo(const NoAnswerCase& row, std::ostream* out) {
    *out << row.name;
}

class NoAnswer : public ::testing::TestWithParam<NoAnswerCase> {};

TEST_P(NoAnswer, GivesAnEmptyProgramAndDoesNotRunAnythingUnsafe) {
    StandInXdgMime xdg(GetParam().script);
    EXPECT_EQ(DefaultApplicationFor(GetParam().mimeType), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoAnswer,
    ::testing::Values(
        NoAnswerCase{"Missing", "", "application/pdf"},
        NoAnswerCase{"Failing", "echo viewer.desktop; exit 3", "application/pdf"},
        NoAnswerCase{"Hanging", "echo viewer.desktop; exec sleep 20", "application/pdf"},
        NoAnswerCase{"ShellWordsInTheType", "echo viewer.desktop", "application/pdf; touch x"},
        NoAnswerCase{"OptionAsTheType", "echo viewer.desktop", "--help/x"},
        NoAnswerCase{"EmptyType", "echo viewer.desktop", ""}),
    [](const auto& row) { return row.param.name; });

} // namespace
} // namespace kestrova
