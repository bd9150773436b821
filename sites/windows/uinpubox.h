// TfrmInputBox: the six-character Id that "&Add" of the checkpoint editor asks for. The field
// takes letters and digits only, in capitals; "&Ok" (or Enter) hands its text to the editor's
// pending Id slot, "&Cancel" empties the slot. Qt Widgets over the sites layer.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmInputBox;
}

namespace kestrova {
class CaptionTable;
class CheckpointEditor;
} // namespace kestrova

namespace kestrova::windows {

class TfrmInputBox : public QDialog {
    Q_OBJECT
public:
    TfrmInputBox(CheckpointEditor& editor, const CaptionTable& captions, QWidget* parent);
    ~TfrmInputBox() override;

    void FormShow();
    void Button1Click();
    void Button2Click();
    // A button read at the station closes the box with nothing typed.
    void closeEmpty();

private:
    std::unique_ptr<Ui::TfrmInputBox> ui_;
    CheckpointEditor& editor_;
    const CaptionTable& captions_;
};

} // namespace kestrova::windows
