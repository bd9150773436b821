// Renders the preferences and About windows to PNG files, over a copy of the demo program
// directory with the shipped English language file, so anyone can look at them:
//   render_prefs_about OUTDIR
// Pictures: TfrmPref.png, TfrmAbout.png, TfrmAbout-check.png (after "Run check", offline) and
// TfrmAbout-serial.png (the serial findings). Runs on the offscreen platform by default.
#include "app/uAbout.h"
#include "app/uPref.h"
#include "core/LanguageFile.h"
#include "core/testing/FakeDesktop.h"

#include <QApplication>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace kestrova;

struct Offline : WebDownloader, WebBrowser {
    bool download(std::string_view, const fs::path&) override { return false; }
    void openAddress(std::string_view) override {}
};

struct NoTrace : TraceSink {
    void WriteTrace(const std::string&) override {}
};

void save(QWidget& window, const fs::path& file) {
    QApplication::processEvents();
    if (!window.grab().save(QString::fromStdString(file.string())))
        throw std::runtime_error("cannot write " + file.string());
    std::cout << file.string() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: render_prefs_about OUTDIR\n";
        return 2;
    }
    try {
        const fs::path out = argv[1];
        fs::create_directories(out);
        testing::TempDir dir;
        const fs::path source = KESTROVA_SOURCE_DIR;
        fs::copy(source / "demo", dir.path(), fs::copy_options::recursive);
        fs::copy_file(source / "data" / "English.lng", dir / "English.lng");

        testing::FakeDesktop fake;
        fake.documents.pdfProgram = "viewer";
        ProgramContext context(dir.path(), fake.desktop, "1");
        Settings settings;
        context.settingsFile.LoadSettings(settings, fake.documents, nullptr);
        context.settings.set(settings);
        context.messages.SetDefaultMessages();
        NoTrace trace;
        LoadLanguageFile(dir / "English.lng", context.messages, context.captions, fake.dialogs,
                         trace, {});

        app::TfrmPref pref(context);
        pref.show();
        save(pref, out / "TfrmPref.png");
        pref.hide();

        Offline web;
        app::TfrmAbout about(context, web, web, [] { return app::StationLamp{false, 1}; });
        about.show();
        save(about, out / "TfrmAbout.png");
        about.Button2Click();
        save(about, out / "TfrmAbout-check.png");
        about.Label2Click();
        save(about, out / "TfrmAbout-serial.png");
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
