// The version download through Qt Network, without the internet: a local file address stands
// for a reachable server, a closed local port for a machine without network.
#include "app/QtWeb.h"

#include "core/testing/FakeDesktop.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace kestrova::app {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::string fileAddress(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(QString::fromStdString(file.string())).toString().toStdString();
}

TEST(QtWebDownloaderTest, ReachableAddressIsWrittenToTheTarget) {
    TempDir dir;
    writeFile(dir / "version.txt", "14/08/2013\r\n5.28l\r\n");
    QtWebDownloader downloader;
    EXPECT_TRUE(downloader.download(fileAddress(dir / "version.txt"), dir / "temp"));
    EXPECT_EQ(readFile(dir / "temp"), "14/08/2013\r\n5.28l\r\n");
}

TEST(QtWebDownloaderTest, UnreachableAddressFailsAndWritesNothing) {
    TempDir dir;
    QtWebDownloader downloader(std::chrono::seconds(5));
    EXPECT_FALSE(downloader.download("http://127.0.0.1:1/version.txt", dir / "temp"));
    EXPECT_FALSE(downloader.download(fileAddress(dir / "missing.txt"), dir / "temp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "temp"));
}

} // namespace
} // namespace kestrova::app
