// The hidden report browser. Qt Widgets over the site list.
#include "reports/windows/uOpen.h"

#include "core/windows/WindowText.h"
#include "ui_uOpen.h"

namespace kestrova::reports_windows {

TfrmOpen::TfrmOpen(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::TfrmOpen>()) {
    ui_->setupUi(this);
    subscription_ = context_.sites.subscribe([this] { refresh(); });
    refresh();
}

TfrmOpen::~TfrmOpen() {
    context_.sites.unsubscribe(subscription_);
}

QStringList TfrmOpen::siteNames() const {
    QStringList names;
    for (int k = 0; k < ui_->ListBox1->count(); ++k)
        names << ui_->ListBox1->item(k)->text();
    return names;
}

void TfrmOpen::refresh() {
    ui_->ListBox1->clear();
    for (const auto& name : context_.sites.names())
        ui_->ListBox1->addItem(windows::fromBytes(name));
}

} // namespace kestrova::reports_windows
