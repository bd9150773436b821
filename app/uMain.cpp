#include "app/uMain.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/HelpDocuments.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "processing/DoRaw.h"
#include "ui_uMain.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QThread>

namespace kestrova::app {
namespace fs = std::filesystem;
using windows::fromBytes;
using windows::toBytes;

namespace {
constexpr int kNotProcessed = 18; // "The Recently uploaded data file has Not been processed"
constexpr int kProcessItNow = 19; // "Would you like to process it now"

QColor ledColour(LedColour colour) {
    switch (colour) {
    case LedColour::Yellow:
        return QColor(Qt::yellow);
    case LedColour::Purple:
        return QColor(128, 0, 128);
    case LedColour::Lime:
        return QColor(0, 255, 0);
    case LedColour::Green:
        return QColor(0, 128, 0);
    }
    return QColor(Qt::red);
}

QString textColourStyle(TextColour colour) {
    switch (colour) {
    case TextColour::Red:
        return "color: red;";
    case TextColour::Blue:
        return "color: blue;";
    case TextColour::Normal:
        break;
    }
    return {};
}

// "ddd dd mmmm yyyy  hh:nn.ss" with the system language's day and month names.
QString clockLineText() {
    return QLocale::system().toString(QDateTime::currentDateTime(), "ddd dd MMMM yyyy  hh:mm.ss");
}
} // namespace

TfrmMain::TfrmMain(DesktopProgram& program, Installation installation, QWidget* parent)
    : QMainWindow(parent), program_(program), installation_(std::move(installation)),
      ui_(std::make_unique<Ui::TfrmMain>()), windows_(program, this) {
    // FormCreate: the session number is the program context's.
    ui_->setupUi(this);
    setFixedSize(kNormalWidth, height());
    ui_->Label1->hide();
    ui_->Label4->hide();
    ui_->lblExtra->hide();
    ui_->USBEn->hide();
    ui_->Image1->hide();
    ui_->Panel1->raise();
    ui_->MainMenu1->hide();
    ui_->Setup1->setEnabled(false);
    ui_->Setup1->menuAction()->setEnabled(false);
    ui_->lblDateTime->setStyleSheet("color: blue;");
    ui_->Memo1->installEventFilter(this);
    ui_->Image1->installEventFilter(this);
    const fs::path installedLogo = installation_.directory / "share/kestrova/logo.gif";
    if (fileExists(installedLogo))
        ui_->Image1->setPixmap(QPixmap(QString::fromStdString(installedLogo.string())));
    program_.context().trace.setView(this);
    program_.busy().setWindow([this](bool busy) { setBusyPanel(busy); });
    bridge_ = std::make_unique<UiBridge>(program_.state(),
                                         [this](const FieldSet& changed) { applyState(changed); });
    timer2_.setInterval(1000);
    connect(&timer2_, &QTimer::timeout, this, &TfrmMain::Timer2Timer);
    connectControls();
    applyCaptions();
    registerProgramWindows(windows_);
}

TfrmMain::~TfrmMain() {
    program_.unknownChooser().setTarget(nullptr);
    program_.busy().setWindow(nullptr);
    program_.context().trace.setView(nullptr);
    bridge_.reset();
}

void TfrmMain::connectControls() {
    const auto open = [this](QAction* action, const char* windowClass) {
        connect(action, &QAction::triggered, this,
                [this, windowClass] { openWindow(windowClass); });
    };
    open(ui_->New1, "TfrmNew");
    open(ui_->Open1, "TfrmNew");
    open(ui_->Preferences1, "TfrmPref");
    open(ui_->Checkpoints1, "Tfrmpoints");
    open(ui_->IdNumber1, "TfrmIdNum");
    open(ui_->FailedPatrol1, "TfrmFPSetup");
    open(ui_->About1, "TfrmAbout");
    connect(ui_->Import1, &QAction::triggered, this, &TfrmMain::Import1Click);
    connect(ui_->Exit1, &QAction::triggered, this, &QWidget::close);
    connect(ui_->SiteSetup1, &QAction::triggered, this, &TfrmMain::SiteSetup1Click);
    connect(ui_->Index1, &QAction::triggered, this, &TfrmMain::openHelp);
    connect(ui_->search1, &QAction::triggered, this, &TfrmMain::openHelp);
    const auto button = [this](PictureButton* b, const char* windowClass) {
        connect(b, &PictureButton::clicked, this, [this, windowClass] { openWindow(windowClass); });
    };
    button(ui_->btnReports, "TfrmNew");
    button(ui_->btnCheckpoints, "Tfrmpoints");
    button(ui_->btnOptions, "TfrmPref");
    button(ui_->btnHelp, "TfrmAbout");
}

void TfrmMain::applyCaptions() {
    const CaptionTable& captions = program_.context().captions;
    windows::applyCaptions(*this, captions, "TfrmMain");
    ui_->FailedPatrol1->setVisible(captions.languageEffects().failedPatrolMenuVisible);
}

void TfrmMain::openWindow(const std::string& windowClass) {
    if (!started_)
        return;
    windows_.openModal(windowClass);
    applyCaptions(); // a language chosen in the preferences reaches the main window too
}

// --- start-up ---------------------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    // After the window has been painted once, as the first activation comes.
    QTimer::singleShot(0, this, &TfrmMain::FormActivate);
}

void TfrmMain::FormActivate() {
    if (started_ || fatal_)
        return;
    setBusyPanel(true);
    runReportingErrors(program_.context().desktop.dialogs, [&] {
        windows_.createAll();
        fatal_ = RunStartUp(program_.context(), program_.state(), *this, installation_).fatal;
    });
    applyCaptions();
    if (fatal_) {
        close();
        return;
    }
    started_ = true;
    timer2_.start();
    if (startedHook_)
        startedHook_();
}

void TfrmMain::showLogo(const fs::path& file) {
    ui_->Image1->setPixmap(QPixmap(QString::fromStdString(file.string())));
}

void TfrmMain::showClockLine() {
    ui_->lblDateTime->setText(clockLineText());
}

void TfrmMain::showStatusLine(const std::string& text) {
    setStatusLabel(fromBytes(text));
}

void TfrmMain::closeMainWindow() {
    fatal_ = true;
}

void TfrmMain::preselectWindows(const Settings& settings) {
    windows_.preselect(settings);
}

void TfrmMain::loadPreferences(const Settings& settings) {
    windows_.loadPreferences(settings);
}

void TfrmMain::showTitle(const std::string& title) {
    setWindowTitle(fromBytes(title));
}

void TfrmMain::startComms() {
    program_.startComms();
}

void TfrmMain::startUpFinished() {
    ui_->Setup1->setEnabled(true);
    ui_->Setup1->menuAction()->setEnabled(true);
    ui_->Panel1->hide();
}

void TfrmMain::appendTraceLine(const std::string& line) {
    const QString text = fromBytes(line);
    if (QThread::currentThread() == thread())
        ui_->Memo1->appendPlainText(text);
    else
        QMetaObject::invokeMethod(
            ui_->Memo1, [memo = ui_->Memo1, text] { memo->appendPlainText(text); },
            Qt::QueuedConnection);
}

// --- the running window -----------------------------------------------------------------

void TfrmMain::setStatusLabel(const QString& text) {
    if (statusHistory_.isEmpty() || statusHistory_.back() != text)
        statusHistory_.append(text);
    ui_->lblStatus->setText(text);
}

void TfrmMain::Timer2Timer() {
    MainState& state = program_.state();
    setStatusLabel(fromBytes(state.statusText()));
    timer2_.stop();
    showClockLine();
    ui_->lblDateTime->setStyleSheet(ClockLineColourFor(state.writePending()) == ClockLineColour::Red
                                        ? "color: red;"
                                        : "color: blue;");
    timer2_.start();
    if (state.closeRequested())
        close();
}

void TfrmMain::applyState(const FieldSet& changed) {
    MainState& state = program_.state();
    if (changed.contains(MainField::Labels) || changed.contains(MainField::BatonIdent)) {
        const std::pair<Label, QLabel*> labels[] = {
            {Label::Id, ui_->lblID},       {Label::Version, ui_->lblVer},
            {Label::Date, ui_->lblDate},   {Label::Time, ui_->lblTime},
            {Label::Extra, ui_->lblExtra}, {Label::NoData, ui_->Label4}};
        for (const auto& [which, widget] : labels) {
            const LabelState label = state.label(which);
            if (!label.text.empty() || which == Label::Id)
                widget->setText(fromBytes(label.text));
            widget->setStyleSheet(textColourStyle(label.colour));
            if (which == Label::Extra || which == Label::NoData)
                widget->setVisible(label.visible && !keys_.showBadLuck);
        }
    }
    if (changed.contains(MainField::Led)) {
        ledSet_ = true;
        ui_->Led->setColour(ledColour(state.led()));
    }
    if (changed.contains(MainField::Gauge)) {
        const GaugeState gauge = state.gauge();
        const auto clamp = [](std::int64_t v) {
            return static_cast<int>(
                std::clamp<std::int64_t>(v, 0, std::numeric_limits<int>::max()));
        };
        ui_->Gauge1->setMaximum(std::max(1, clamp(gauge.maximum)));
        ui_->Gauge1->setValue(std::min(clamp(gauge.progress), ui_->Gauge1->maximum()));
    }
    if (changed.contains(MainField::Caption) && started_)
        setWindowTitle(fromBytes(state.caption()));
    if (changed.contains(MainField::Image))
        ui_->Image1->setVisible(state.imageVisible());
    if (changed.contains(MainField::BringToFront)) {
        showNormal();
        raise();
        activateWindow();
    }
}

void TfrmMain::setBusyPanel(bool busy) {
    ui_->Panel1->setVisible(busy);
    if (busy)
        ui_->Panel1->raise();
    if (!busy && closePending_)
        QTimer::singleShot(0, this, &QWidget::close);
}

void TfrmMain::Import1Click() {
    ProgramContext& c = program_.context();
    runReportingErrors(c.desktop.dialogs,
                       [&] { program_.processor().import(defaultUploadFile(c.programDir)); });
}

void TfrmMain::SiteSetup1Click() {
    ProgramContext& c = program_.context();
    runReportingErrors(c.desktop.dialogs, [&] { AddSite(c); });
}

void TfrmMain::processChosenFile() {
    ProgramContext& c = program_.context();
    const auto file = c.desktop.dialogs.openFile(FileDialogRequest{
        c.captions.text("TfrmMain", "OpenDialog1"), "*.txt", "Raw", "*.txt", c.programDir});
    if (!file)
        return;
    runReportingErrors(c.desktop.dialogs, [&] { program_.processor().process(*file); });
}

void TfrmMain::openHelp() {
    const ProgramContext& c = program_.context();
    fs::path guide = resolveInDirectory(c.programDir, kUserGuide);
    if (!fileExists(guide))
        guide = installation_.directory / "share/kestrova" / kUserGuide;
    program_.context().desktop.documents.openDocument(guide);
}

// --- keys -------------------------------------------------------------------------------

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && text.front().unicode() < 0x80)
        FormKeyPress(static_cast<char>(text.front().unicode()));
    QMainWindow::keyPressEvent(event);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Memo1 && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (watched == ui_->Image1 && event->type() == QEvent::MouseButtonRelease) {
        openWindow("TfrmAbout");
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FormKeyPress(char key) {
    const KeyResult result = MainWindowKey(key, keys_);
    if (result.sequence.showBadLuck != keys_.showBadLuck)
        showBadLuck(result.sequence.showBadLuck);
    keys_ = result.sequence;
    switch (result.action) {
    case MainKeyAction::ToggleMenu:
        toggleMenu();
        break;
    case MainKeyAction::ToggleTrace:
        setFixedSize(ToggledWidth(width()), height());
        break;
    case MainKeyAction::PortSetup:
        openWindow("TfrmDelay");
        break;
    case MainKeyAction::ProcessFile:
        if (started_)
            processChosenFile();
        break;
    case MainKeyAction::AdminLogViewer:
        openWindow("TfrmLogFile");
        break;
    case MainKeyAction::None:
        break;
    }
}

void TfrmMain::toggleMenu() {
    const bool show = !ui_->MainMenu1->isVisible();
    ui_->MainMenu1->setVisible(show);
    setFixedSize(width(), height() + (show ? kMenuHeight : -kMenuHeight));
}

void TfrmMain::showBadLuck(bool show) {
    ui_->Label1->setVisible(show);
    ui_->GroupBox3->setVisible(!show);
    ui_->lblDateTime->setVisible(!show);
}

// --- closing ----------------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!FormClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool TfrmMain::FormClose() {
    if (closing_)
        return true;
    // Processing runs (and lets events through): the comms thread may be waiting for it, so it
    // cannot be stopped now. Closing follows once processing has ended.
    if (program_.busy().busy() || program_.ui().stepRunning()) {
        closePending_ = true;
        return false;
    }
    closing_ = true;
    timer2_.stop();
    ProgramContext& c = program_.context();
    if (!started_) {
        // A failed start-up touches no file of the program directory.
        program_.stopComms();
        return true;
    }
    try {
        DeleteClosingTemporaries(c.programDir);
        if (UploadAwaitsProcessing(c.programDir)) {
            if (c.desktop.dialogs.confirm(c.messages.MessageText(kNotProcessed) + "\r" +
                                          c.messages.MessageText(kProcessItNow)))
                program_.processor().process(defaultUploadFile(c.programDir));
            try {
                program_.stopComms();
            } catch (...) {
            }
        } else {
            try {
                program_.stopComms();
                c.trace.WriteTrace("DtrEnable");
            } catch (...) {
                c.trace.WriteTrace("Error on close comm");
            }
        }
    } catch (const std::exception& error) {
        // The window closes whatever goes wrong; the user still hears of it.
        c.desktop.dialogs.showError(generalErrorMessage(error));
        program_.stopComms();
    }
    return true;
}

} // namespace kestrova::app
