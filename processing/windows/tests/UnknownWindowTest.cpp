#include "../../tests/ProcessingFixture.h"
#include "processing/windows/uUnknownP.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

// A processing run whose unknown clockings the window is asked about; `user` acts in it.
class UnknownWindow : public ProcessingTest {
protected:
    UnknownWindow() : window(context.captions) {
        site("Alpha", {"0000A1 = Front gate"});
        site("Beta", {"0000B1 = Boiler room"});
        loadSites();
        context.settings.update([](Settings& s) { s.generateFrequencyReport = false; });
    }
    void process(std::function<void()> user) {
        QTimer::singleShot(0, [user] { user(); });
        ProcessingServices run{context, state, window, pdf};
        ProcessUpload(run, upload({"Id : BATON7", clocking("0000B1", "2403051405"),
                                   clocking("00000A", "2403051406"), "Done"}));
    }
    template <typename T> T* control(const char* name) { return window.findChild<T*>(name); }
    void click(const char* name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    windows::TfrmUnknownP window;
};

TEST_F(UnknownWindow, PlacesInTheChosenSite) {
    process([&] {
        EXPECT_EQ(control<QComboBox>("ComboBox1")->count(), 2);
        EXPECT_TRUE(control<QComboBox>("ComboBox1")->isEnabled());
        control<QComboBox>("ComboBox1")->setCurrentIndex(1);
        click("Button1");
    });
    EXPECT_NE(report("Beta").find("(00000A)"), std::string::npos);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(UnknownWindow, ANewSiteNameIsAskedAgainUntilItCanBeCreated) {
    desk.dialogs.inputAnswers = {std::string(), std::string("Stores")};
    process([&] {
        click("RadioButton2");
        EXPECT_FALSE(control<QComboBox>("ComboBox1")->isEnabled());
        click("Button1"); // empty answer: the window stays
        EXPECT_TRUE(window.isVisible());
        click("Button1");
    });
    EXPECT_TRUE(fs::is_directory(dir / "Stores" / "Raw"));
    EXPECT_NE(report("Stores").find("(00000A)"), std::string::npos);
}

TEST_F(UnknownWindow, ClosingByTheTitleBarIgnoresThem) {
    process([&] {
        click("RadioButton1");
        window.close();
    });
    EXPECT_EQ(report("Beta").find("(00000A)"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "Alpha" / "03051407.txt"));
}

} // namespace
} // namespace kestrova::testing
