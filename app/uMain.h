// TfrmMain: the main window. It shows the baton on the station and the upload status, runs
// the start-up sequence on its first activation, refreshes the status and clock lines once a
// second, opens the other windows from its four large buttons and its (normally hidden) menu,
// and at closing offers to process an upload that was never processed. What the logic decides
// comes from shell/ (start-up, the window's rules) and the shared state through the UI bridge.
// Qt Widgets.
#pragma once

// moc need not read the logic's headers (and cannot parse every standard one).
#ifndef Q_MOC_RUN
#include "app/DesktopProgram.h"
#include "app/ProgramWindows.h"
#include "app/UiBridge.h"
#include "core/TraceLog.h"
#include "shell/MainWindowRules.h"
#include "shell/StartUp.h"
#endif

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

namespace Ui {
class TfrmMain;
}

namespace kestrova::app {

class TfrmMain : public QMainWindow, private StartUpWindow, private TraceView {
    Q_OBJECT
public:
    TfrmMain(DesktopProgram& program, Installation installation, QWidget* parent = nullptr);
    ~TfrmMain() override;

    ProgramWindows& windows() { return windows_; }
    bool started() const { return started_; }
    bool startUpFailed() const { return fatal_; }
    // Runs once start-up has finished (the training window opens then).
    void setStartedHook(std::function<void()> hook) { startedHook_ = std::move(hook); }
    // For tests: the one-second timer's interval.
    void setTimerInterval(int ms) { timer2_.setInterval(ms); }
    // Every text lblStatus has shown, in order (the tests read the upload's course from it).
    const QStringList& statusHistory() const { return statusHistory_; }

    // The handlers.
    void FormActivate();
    void Timer2Timer();
    void FormKeyPress(char key);
    void Import1Click();
    void SiteSetup1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // StartUpWindow
    void showLogo(const std::filesystem::path& file) override;
    void showClockLine() override;
    void showStatusLine(const std::string& text) override;
    void closeMainWindow() override;
    void preselectWindows(const Settings& settings) override;
    void loadPreferences(const Settings& settings) override;
    void showTitle(const std::string& title) override;
    void startComms() override;
    void startUpFinished() override;
    // TraceView
    void appendTraceLine(const std::string& line) override;

    void connectControls();
    void applyState(const FieldSet& changed);
    void applyCaptions();
    void setStatusLabel(const QString& text);
    void setBusyPanel(bool busy);
    bool FormClose(); // false: closing waits for processing to end
    void processChosenFile();
    void openHelp();
    void openWindow(const std::string& windowClass);
    void toggleMenu();
    void showBadLuck(bool show);

    DesktopProgram& program_;
    Installation installation_;
    std::unique_ptr<Ui::TfrmMain> ui_;
    ProgramWindows windows_;
    std::unique_ptr<UiBridge> bridge_;
    QTimer timer2_;
    KeySequence keys_;
    bool started_ = false;
    bool activated_ = false;
    bool fatal_ = false;
    bool closing_ = false;
    bool closePending_ = false;
    bool ledSet_ = false; // red until the link first sets a colour
    QStringList statusHistory_;
    std::function<void()> startedHook_;
};

} // namespace kestrova::app
