// The site deletion confirmation.
#include "sites/windows/uSiteDel.h"

#include "core/Errors.h"
#include "core/ProgramContext.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "sites/CheckpointEditor.h"
#include "ui_uSiteDel.h"

namespace kestrova::windows {

TfrmSiteDel::TfrmSiteDel(ProgramContext& context, CheckpointEditor& editor, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmSiteDel>()), editor_(editor),
      context_(context) {
    ui_->setupUi(this);
    connect(ui_->Edit1, &QLineEdit::returnPressed, this, &TfrmSiteDel::Edit1KeyPress);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmSiteDel::Button1Click);
    ui_->Button1->setAutoDefault(false);
}

TfrmSiteDel::~TfrmSiteDel() = default;

void TfrmSiteDel::FormShow() {
    ui_->Memo1->clear();
    applyCaptions(*this, context_.captions, "TfrmSiteDel");
    ui_->Edit1->clear();
    ui_->Edit1->setFocus();
}

void TfrmSiteDel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmSiteDel::Edit1KeyPress() {
    runReportingErrors(context_.desktop.dialogs,
                       [&] { editor_.confirmSiteDelete(toBytes(ui_->Edit1->text())); });
    accept();
}

void TfrmSiteDel::Button1Click() {
    reject();
}

} // namespace kestrova::windows
