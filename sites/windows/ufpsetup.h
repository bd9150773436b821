// TfrmFPSetup: programs the next baton with a failed-patrol schedule typed in for a chosen
// site (not stored). The first tab is a single-baton unit (start and finish time), the second
// a multiple-baton unit (rest time and number of batons). Fields are corrected as they are
// left. Qt Widgets over the sites layer.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

class QLineEdit;

namespace Ui {
class TfrmFPSetup;
}

namespace kestrova {
class MainState;
struct ProgramContext;
} // namespace kestrova

namespace kestrova::windows {

class TfrmFPSetup : public QDialog {
    Q_OBJECT
public:
    TfrmFPSetup(ProgramContext& context, MainState& state, QWidget* parent);
    ~TfrmFPSetup() override;

    void FormShow();
    void TabControl1Change(int index);
    void ListBox1Click();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showTabFields(int index);
    void correctOnLeaving(QLineEdit* field, std::string (*correct)(const std::string&));

    std::unique_ptr<Ui::TfrmFPSetup> ui_;
    ProgramContext& context_;
    MainState& state_;
};

} // namespace kestrova::windows
