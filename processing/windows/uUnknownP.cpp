#include "processing/windows/uUnknownP.h"

#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "ui_uUnknownP.h"

namespace kestrova::windows {

TfrmUnknownP::TfrmUnknownP(const CaptionTable& captions, QWidget* parent)
    : QDialog(parent), captions_(captions), ui_(std::make_unique<Ui::TfrmUnknownP>()) {
    ui_->setupUi(this);
    for (QRadioButton* radio : {ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3})
        connect(radio, &QRadioButton::toggled, this, &TfrmUnknownP::RadioButtonClick);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmUnknownP::Button1Click);
}

TfrmUnknownP::~TfrmUnknownP() = default;

void TfrmUnknownP::choose(UnknownCheckpointPlacement& placement) {
    placement_ = &placement;
    decided_ = false;
    FormActivate();
    if (parentWidget() != nullptr)
        move(parentWidget()->geometry().center() - rect().center());
    exec();
    if (!decided_)
        placement.ignore();
    placement_ = nullptr;
}

void TfrmUnknownP::FormActivate() {
    applyCaptions(*this, captions_, "TfrmUnknownP");
    ui_->ComboBox1->clear();
    if (placement_ != nullptr)
        for (const std::string& name : placement_->siteNames())
            ui_->ComboBox1->addItem(fromBytes(name));
    ui_->ComboBox1->setCurrentIndex(ui_->ComboBox1->count() > 0 ? 0 : -1);
    RadioButtonClick();
}

UnknownChoice TfrmUnknownP::choice() const {
    if (ui_->RadioButton2->isChecked())
        return UnknownChoice::NewSite;
    if (ui_->RadioButton3->isChecked())
        return UnknownChoice::Ignore;
    return UnknownChoice::ExistingSite;
}

void TfrmUnknownP::RadioButtonClick() {
    ui_->ComboBox1->setEnabled(siteListEnabled(choice()));
}

void TfrmUnknownP::Button1Click() {
    if (placement_ == nullptr)
        return;
    const int index = ui_->ComboBox1->currentIndex();
    const std::optional<std::size_t> selected =
        index >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(index)) : std::nullopt;
    if (!UnknownChoiceOk(*placement_, choice(), selected))
        return;
    decided_ = true;
    accept();
}

void TfrmUnknownP::reject() {
    // Closing by other means than "&Ok " is "Ignore unknown checkpoints".
    if (placement_ != nullptr && !decided_) {
        placement_->ignore();
        decided_ = true;
    }
    QDialog::reject();
}

} // namespace kestrova::windows
