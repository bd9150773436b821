// TfrmSiteDel: deleting a site that still has checkpoints asks for its name to be typed; Enter
// compares it with the chosen site's (without regard to case) and deletes on a match.
// "&Cancel" and Escape close the window. Qt Widgets over the sites layer.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmSiteDel;
}

namespace kestrova {
class CheckpointEditor;
struct ProgramContext;
} // namespace kestrova

namespace kestrova::windows {

class TfrmSiteDel : public QDialog {
    Q_OBJECT
public:
    TfrmSiteDel(ProgramContext& context, CheckpointEditor& editor, QWidget* parent);
    ~TfrmSiteDel() override;

    void FormShow();
    void Edit1KeyPress(); // Enter
    void Button1Click();

protected:
    // Every showing fills the warning and empties the field.
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSiteDel> ui_;
    CheckpointEditor& editor_;
    ProgramContext& context_;
};

} // namespace kestrova::windows
