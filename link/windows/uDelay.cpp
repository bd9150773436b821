#include "link/windows/uDelay.h"

#include "core/Errors.h"
#include "link/PortSetup.h"
#include "ui_uDelay.h"

namespace kestrova::windows {

TfrmDelay::TfrmDelay(ProgramContext& context, MainState& state, QWidget* parent)
    : QDialog(parent), context_(context), state_(state), ui_(std::make_unique<Ui::TfrmDelay>()) {
    ui_->setupUi(this);
    ui_->SpinEdit1->setRange(kPortSetupMin, kPortSetupMax);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmDelay::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TfrmDelay::Button2Click);
}

TfrmDelay::~TfrmDelay() = default;

void TfrmDelay::Button1Click() {
    runReportingErrors(context_.desktop.dialogs,
                       [&] { PortSetupOk(context_, state_, ui_->SpinEdit1->value()); });
    accept();
}

void TfrmDelay::Button2Click() {
    reject();
}

} // namespace kestrova::windows
