// The Id input box.
#include "sites/windows/uinpubox.h"

#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "sites/CheckpointEditor.h"
#include "ui_uinpubox.h"

#include <QRegularExpressionValidator>

namespace kestrova::windows {

TfrmInputBox::TfrmInputBox(CheckpointEditor& editor, const CaptionTable& captions, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmInputBox>()), editor_(editor),
      captions_(captions) {
    ui_->setupUi(this);
    ui_->MaskEdit1->setMaxLength(6);
    ui_->MaskEdit1->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z0-9]{0,6}")), ui_->MaskEdit1));
    // Letters are shown as the capitals they are taken as.
    connect(ui_->MaskEdit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text != text.toUpper()) {
            const int cursor = ui_->MaskEdit1->cursorPosition();
            ui_->MaskEdit1->setText(text.toUpper());
            ui_->MaskEdit1->setCursorPosition(cursor);
        }
    });
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmInputBox::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TfrmInputBox::Button2Click);
    connect(ui_->MaskEdit1, &QLineEdit::returnPressed, this, &TfrmInputBox::Button1Click);
}

TfrmInputBox::~TfrmInputBox() = default;

void TfrmInputBox::FormShow() {
    applyCaptions(*this, captions_, "TfrmInputBox");
    ui_->MaskEdit1->clear();
    ui_->MaskEdit1->setFocus();
}

void TfrmInputBox::Button1Click() {
    editor_.acceptInputBox(toBytes(ui_->MaskEdit1->text()));
    accept();
}

void TfrmInputBox::Button2Click() {
    editor_.cancelInputBox();
    reject();
}

void TfrmInputBox::closeEmpty() {
    ui_->MaskEdit1->clear();
    if (isVisible())
        reject();
}

} // namespace kestrova::windows
