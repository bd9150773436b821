#include "app/uAbout.h"

#include "core/About.h"
#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/HelpDocuments.h"
#include "core/ProductInfo.h"
#include "core/SystemCheck.h"
#include "core/TextFile.h"
#include "core/windows/WindowText.h"
#include "link/SerialDiagnosis.h"
#include "ui_uAbout.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <unistd.h>

namespace kestrova::app {

using windows::fromBytes;

namespace {

constexpr std::string_view kBannerPicture = "logobig.gif";
constexpr std::string_view kAboutLogSite = "none";
constexpr std::string_view kAboutLogAction = "Entered the About screen";

// The picture shown when the program directory has no "logobig.gif".
QPixmap builtInBanner() {
    QPixmap picture(150, 90);
    QPainter painter(&picture);
    QLinearGradient fill(0, 0, 0, 90);
    fill.setColorAt(0, QColor(0x1c, 0x3f, 0x7a));
    fill.setColorAt(1, QColor(0x0c, 0x1f, 0x44));
    painter.fillRect(picture.rect(), fill);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSize(15);
    painter.setFont(font);
    painter.drawText(picture.rect().adjusted(0, 0, 0, -18), Qt::AlignCenter, "KESTROVA");
    font.setBold(false);
    font.setPointSize(8);
    painter.setFont(font);
    painter.drawText(picture.rect().adjusted(0, 40, 0, 0), Qt::AlignCenter, "uploader");
    return picture;
}

// The port number the CommPort setting holds; 0 when it is no number.
int commPortNumber(const std::string& text) {
    try {
        return toInteger(text);
    } catch (const ConversionError&) {
        return 0;
    }
}

} // namespace

TfrmAbout::TfrmAbout(ProgramContext& context, WebDownloader& downloader, WebBrowser& browser,
                     std::function<StationLamp()> station, QWidget* parent)
    : QDialog(parent), context_(context), downloader_(downloader), browser_(browser),
      station_(std::move(station)), ui_(std::make_unique<Ui::TfrmAbout>()) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont heading = ui_->Label4->font();
    heading.setBold(true);
    ui_->Label4->setFont(heading);

    struct Link {
        QLabel* label;
        void (TfrmAbout::*handler)();
    };
    for (const Link& link :
         {Link{ui_->Label9, &TfrmAbout::Label9Click}, Link{ui_->Label17, &TfrmAbout::Label17Click},
          Link{ui_->Label15, &TfrmAbout::Label15Click}, Link{ui_->Label3, &TfrmAbout::Label3Click},
          Link{ui_->Label2, &TfrmAbout::Label2Click}, Link{ui_->Label5, &TfrmAbout::Label5Click}}) {
        link.label->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                            Qt::LinksAccessibleByKeyboard);
        connect(link.label, &QLabel::linkActivated, this, link.handler);
    }
    ui_->Image1->installEventFilter(this);
    connect(ui_->Button2, &QPushButton::clicked, this, &TfrmAbout::Button2Click);
    ui_->Label5->hide();
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmAbout::setLinkText(const char* control, const QString& text) {
    auto* label = findChild<QLabel*>(control);
    label->setText("<a href=\"#\">" + text.toHtmlEscaped() + "</a>");
}

void TfrmAbout::FormShow() {
    for (const auto& [control, text] : AboutTexts(context_.messages)) {
        const QString shown = fromBytes(text);
        const std::string name(control);
        if (name.empty())
            setWindowTitle(shown);
        else if (name == "Label9" || name == "Label17" || name == "Label15" || name == "Label3" ||
                 name == "Label2" || name == "Label5")
            setLinkText(name.c_str(), shown);
        else if (name == "GroupBox1")
            ui_->GroupBox1->setTitle(shown);
        else if (name == "Button2")
            ui_->Button2->setText(shown);
        else
            findChild<QLabel*>(QString::fromStdString(name))->setText(shown);
    }
    const auto banner = resolveInDirectory(context_.programDir, kBannerPicture);
    QPixmap picture;
    if (!fileExists(banner) || !picture.load(QString::fromStdString(banner.string())))
        picture = builtInBanner();
    ui_->Image1->setPixmap(picture);
    runReportingErrors(context_.desktop.dialogs, [&] {
        context_.adminLog.WriteAdminLog(std::string(kAboutLogSite), std::string(kAboutLogAction));
    });
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Image1 && event->type() == QEvent::MouseButtonRelease) {
        Image1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::openDocumentLink(std::string_view document) {
    const auto action =
        DocumentLink(context_.programDir, context_.desktop.documents, context_.messages, document);
    if (action.message) {
        context_.desktop.dialogs.showInformation(*action.message);
        return;
    }
    try {
        context_.desktop.documents.openDocument(*action.open);
    } catch (const std::exception&) {
        // A document that cannot be opened is the desktop's to report.
    }
}

void TfrmAbout::Label9Click() {
    openDocumentLink(kInstallGuide);
}

void TfrmAbout::Label17Click() {
    openDocumentLink(kBasicHelp);
}

void TfrmAbout::Label15Click() {
    openDocumentLink(kAdvancedHelp);
}

void TfrmAbout::Label3Click() {
    browser_.openAddress(kOnlineHelpAddress);
}

void TfrmAbout::Label5Click() {
    browser_.openAddress(kDownloadAddress);
}

void TfrmAbout::Image1Click() {
    Label2Click();
}

// No driver needs installing here: a station that is not found is nearly always a port the
// user may not open, a port another program holds, or a cable, so the findings and what to do
// take the place of the installer.
void TfrmAbout::Label2Click() {
    SerialDiagnosisInputs inputs;
    inputs.user = currentSerialUser();
    inputs.ownPid = static_cast<int>(::getpid());
    inputs.commPort = commPortNumber(context_.settings.get().commPort);
    try {
        inputs.configuredDevice =
            context_.settingsFile.value("COM" + std::to_string(inputs.commPort));
    } catch (const std::exception&) {
        inputs.configuredDevice.reset();
    }
    const auto diagnosis = DiagnoseSerialPorts(inputs);
    QStringList lines;
    for (const auto& line : diagnosis.lines)
        lines << fromBytes(line);
    ui_->Memo1->setPlainText(lines.join('\n'));
}

void TfrmAbout::Button2Click() {
    ui_->Memo1->clear();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const StationLamp lamp = station_ ? station_() : StationLamp{};
    const auto result =
        RunSystemCheck({context_.programDir, context_.messages, context_.settingsFile,
                        context_.desktop.documents, downloader_, lamp.red, lamp.port});
    QGuiApplication::restoreOverrideCursor();
    QStringList lines;
    for (const auto& line : result.lines)
        lines << fromBytes(line);
    ui_->Memo1->setPlainText(lines.join('\n'));
    if (result.newVersion.visible)
        setLinkText("Label5", fromBytes(result.newVersion.text));
    ui_->Label5->setVisible(result.newVersion.visible);
}

} // namespace kestrova::app
