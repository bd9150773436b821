// The About window on the offscreen platform: its opening texts and log entry, the banner, the
// document and web links, the system check's lines and new-version link, and the serial
// findings in place of a driver installer. Setting KESTROVA_WINDOW_PICTURES to a directory
// keeps pictures of the window.
#include "app/uAbout.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova::app {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::FakeDesktop;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testing::TempDir;
using testing::writeFile;

struct FakeWeb : WebDownloader, WebBrowser {
    std::optional<std::string> versionFile; // no value: no network
    std::vector<std::string> opened;
    bool download(std::string_view, const fs::path& target) override {
        if (!versionFile)
            return false;
        writeFile(target, *versionFile);
        return true;
    }
    void openAddress(std::string_view address) override { opened.emplace_back(address); }
};

class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest() {
        context.messages.SetDefaultMessages();
        for (int n = 115; n <= 145; ++n)
            context.messages.setText(n, "M" + std::to_string(n));
        context.messages.setText(145, "&About");
    }
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(name); }
    QString memo() const { return window->findChild<QPlainTextEdit*>("Memo1")->toPlainText(); }
    void openWindow() {
        window = std::make_unique<TfrmAbout>(context, web, web, [this] { return lamp; });
        window->open();
    }
    void picture(const char* name) {
        if (const char* keep = std::getenv("KESTROVA_WINDOW_PICTURES"))
            window->grab().save(QString(keep) + "/" + name);
    }

    TempDir dir;
    FakeDesktop fake;
    ProgramContext context{dir.path(), fake.desktop, "1"};
    FakeWeb web;
    StationLamp lamp{false, 3};
    std::unique_ptr<TfrmAbout> window;
};

TEST_F(AboutWindowTest, OpeningShowsTheTextsAndLogsTheVisit) {
    openWindow();
    EXPECT_EQ(window->windowTitle(), "About");
    EXPECT_EQ(label("Label1")->text(), "Version :");
    EXPECT_EQ(label("lblVer")->text(), "5.28l");
    EXPECT_EQ(label("Label11")->text(), "M144 14/08/2013");
    EXPECT_THAT(label("Label9")->text().toStdString(), HasSubstr("Install.pdf"));
    EXPECT_THAT(label("Label2")->text().toStdString(), HasSubstr("M120"));
    EXPECT_EQ(window->findChild<QPushButton*>("Button2")->text(), "M121");
    EXPECT_FALSE(label("Label5")->isVisible());
    EXPECT_EQ(label("Image1")->pixmap().size(), QSize(150, 90)); // the built-in banner
    EXPECT_THAT(readLines(dir / "LG202403.txt"),
                ElementsAre("\"2024/03/05 14:07.09\",\"none\",\"Entered the About screen\""));
}

TEST_F(AboutWindowTest, BannerComesFromLogobigWhenPresent) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(QString::fromStdString((dir / "logobig.gif").string()), "PNG");
    openWindow();
    EXPECT_EQ(label("Image1")->pixmap().size(), QSize(40, 20));
}

TEST_F(AboutWindowTest, RunCheckWithoutNetworkKeepsTheNewVersionLinkHidden) {
    openWindow();
    QTest::mouseClick(window->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    const QStringList lines = memo().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "M125");
    EXPECT_EQ(lines[1], "  M129");
    EXPECT_TRUE(lines.contains("  M142 3"));
    EXPECT_EQ(lines.back(), "M143");
    EXPECT_FALSE(label("Label5")->isVisible());
}

TEST_F(AboutWindowTest, RunCheckWithANewerVersionShowsTheLinkThatOpensTheDownloadPage) {
    web.versionFile = "02/02/2015\r\n5.31a\r\n";
    lamp = {true, 0};
    openWindow();
    window->Button2Click();
    EXPECT_TRUE(label("Label5")->isVisible());
    EXPECT_THAT(label("Label5")->text().toStdString(), HasSubstr("M127 5.31a M128"));
    EXPECT_TRUE(memo().split('\n').contains("  M141"));
    picture("TfrmAbout-check.png");

    emit label("Label5")->linkActivated("#");
    EXPECT_THAT(web.opened, ElementsAre("https://www.kestrova.example/uploader/download"));
}

TEST_F(AboutWindowTest, DocumentLinksOpenWithAPdfProgramOrExplain) {
    openWindow();
    picture("TfrmAbout.png");
    emit label("Label17")->linkActivated("#");
    EXPECT_THAT(fake.dialogs.information,
                ElementsAre("M137\rhttps://www.kestrova.example/uploader/pdf-reader"));
    EXPECT_TRUE(fake.documents.opened.empty());

    fake.documents.pdfProgram = "viewer";
    emit label("Label9")->linkActivated("#");
    EXPECT_THAT(fake.documents.opened, ElementsAre(dir / "Install.pdf"));

    emit label("Label3")->linkActivated("#");
    EXPECT_THAT(web.opened, ElementsAre("https://www.kestrova.example/uploader/help"));
}

TEST_F(AboutWindowTest, StationLinkShowsTheSerialFindings) {
    openWindow();
    emit label("Label2")->linkActivated("#");
    EXPECT_THAT(memo().toStdString(), StartsWith("Serial ports of this computer:"));
    EXPECT_THAT(memo().toStdString(), HasSubstr("What to do:"));
    picture("TfrmAbout-serial.png");
}

} // namespace
} // namespace kestrova::app
