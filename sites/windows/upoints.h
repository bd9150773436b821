// Tfrmpoints: the checkpoint editor window. Step 1 chooses the site, Step 2 edits its
// checkpoint list, Step 3 its failed-patrol schedule. Every rule lives in CheckpointEditor;
// this window forwards the user's actions to it and redraws from it. Qt Widgets over the sites
// layer.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class Tfrmpoints;
}

class QLineEdit;
class QTreeWidgetItem;

namespace kestrova {
class CheckpointEditor;
class MainState;
struct ProgramContext;
} // namespace kestrova

namespace kestrova::windows {

class TfrmInputBox;
class TfrmSiteDel;

class Tfrmpoints : public QDialog {
    Q_OBJECT
public:
    Tfrmpoints(ProgramContext& context, MainState& state, CheckpointEditor& editor,
               QWidget* parent);
    ~Tfrmpoints() override;

    // Shows the window modeless; `reportsSite` is the Reports window's chosen site position,
    // if any. exec() shows it modal without one.
    void FormShow(std::optional<std::size_t> reportsSite);
    // Shows the window modal, as the main window opens it, and returns when it has closed.
    int openModal(std::optional<std::size_t> reportsSite);
    // Called when the window has been hidden (the main window's timer runs again).
    void setClosedListener(std::function<void()> listener) { closed_ = std::move(listener); }

    TfrmInputBox& inputBox() { return *inputBox_; }
    TfrmSiteDel& siteDel() { return *siteDel_; }

    // Handlers, by the controls' names.
    void ListBox1Click();
    void ListViewClick(QTreeWidgetItem* item);
    void ListViewSelectionChange();
    void edtLocationChange(const QString& text);
    void edtLocationExit();
    void btnAddClick();
    void btnDeleateClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button10Click();
    void ComboBox1Change(int index);
    void Delete2Click();
    void ComboBox2Change(int index);
    void scheduleFieldChange();
    void scheduleFieldExit();
    void Button5Click();
    void Button6Click();
    void Button8Click();
    void Button9Click();

protected:
    void reject() override; // Escape and the close box go through "&Back"
    // Every showing loads the chosen site, also when the window is opened with exec() alone.
    void showEvent(QShowEvent* event) override;

private:
    void wire();
    void closeEditor();
    // Runs a user action of the model; an error is shown by the general error message.
    void act(const std::function<void()>& action);
    void redraw();
    void redrawSites();
    void redrawRows();
    void redrawSchedule();
    QLineEdit* startField(int day) const;
    QLineEdit* finishField(int day) const;

    std::unique_ptr<Ui::Tfrmpoints> ui_;
    ProgramContext& context_;
    MainState& state_;
    CheckpointEditor& editor_;
    std::unique_ptr<TfrmInputBox> inputBox_;
    std::unique_ptr<TfrmSiteDel> siteDel_;
    std::function<void()> closed_;
    bool redrawing_ = false;
    std::optional<std::size_t> reportsSite_;
};

} // namespace kestrova::windows
