#include "link/windows/uIdNum.h"

#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "ui_uIdNum.h"

#include <QKeyEvent>

namespace kestrova::windows {

TfrmIdNum::TfrmIdNum(MainState& state, AdminLog& adminLog, const MessageTable& messages,
                     const CaptionTable& captions, QWidget* parent)
    : QDialog(parent), state_(state), adminLog_(adminLog), messages_(messages), captions_(captions),
      ui_(std::make_unique<Ui::TfrmIdNum>()) {
    ui_->setupUi(this);
    ui_->MaskEdit1->installEventFilter(this);
    connect(ui_->btnOk, &QPushButton::clicked, this, &TfrmIdNum::btnOkClick);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmIdNum::Button1Click);
}

TfrmIdNum::~TfrmIdNum() = default;

void TfrmIdNum::showEvent(QShowEvent* event) {
    applyCaptions(*this, captions_, "TfrmIdNum");
    // The auto-increment may have counted the field up since it was last shown.
    ui_->MaskEdit1->setText(fromBytes(state_.idFieldText()));
    ui_->MaskEdit1->setFocus();
    QDialog::showEvent(event);
}

bool TfrmIdNum::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->MaskEdit1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            MaskEdit1KeyPress('\r');
            return true;
        }
        if (key->text() == "~") {
            MaskEdit1KeyPress('~');
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmIdNum::confirm(IdEntry entry) {
    if (IdNumberOk(state_, adminLog_, messages_, toBytes(ui_->MaskEdit1->text()), entry))
        accept();
}

void TfrmIdNum::btnOkClick() {
    confirm(IdEntry::OkButton);
}

void TfrmIdNum::MaskEdit1KeyPress(char key) {
    if (key == '\r')
        confirm(IdEntry::EnterKey);
    else if (key == '~')
        confirm(IdEntry::TildeKey);
}

void TfrmIdNum::Button1Click() {
    IdNumberCancel(state_);
    reject();
}

} // namespace kestrova::windows
