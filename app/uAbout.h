// The About window TfrmAbout: version and build date, links to the local help documents and
// the maker's online help, help for an upload station that is not found, and the system check.
// Created when opened and destroyed when closed. The rules live in core/About.h,
// core/SystemCheck.h and link/SerialDiagnosis.h; this class only fills and reads its widgets.
#pragma once

#include "core/ProgramContext.h"
#include "core/Web.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class TfrmAbout;
}

namespace kestrova::app {

// The main window's station lamp as the system check reads it.
struct StationLamp {
    bool red = true; // no station found yet
    int port = 0;    // the port the station was found on
};

class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    TfrmAbout(ProgramContext& context, WebDownloader& downloader, WebBrowser& browser,
              std::function<StationLamp()> station, QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // The opening: texts, banner picture and the admin-log entry. Run when the window is shown.
    void FormShow();

public slots:
    void Label9Click();  // Install.pdf
    void Label17Click(); // Basic.pdf
    void Label15Click(); // Advanced.pdf
    void Label3Click();  // online help
    void Label2Click();  // station not working: the serial diagnosis
    void Image1Click();
    void Label5Click();  // new version: the download page
    void Button2Click(); // Run check

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openDocumentLink(std::string_view document);
    void setLinkText(const char* control, const QString& text);

    ProgramContext& context_;
    WebDownloader& downloader_;
    WebBrowser& browser_;
    std::function<StationLamp()> station_;
    std::unique_ptr<Ui::TfrmAbout> ui_;
};

} // namespace kestrova::app
