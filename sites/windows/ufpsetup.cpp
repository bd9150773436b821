// The failed-patrol window.
#include "sites/windows/ufpsetup.h"

#include "core/Errors.h"
#include "core/ProgramContext.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "sites/FailedPatrol.h"
#include "ui_ufpsetup.h"

#include <QRegularExpressionValidator>

namespace kestrova::windows {

namespace {

constexpr int kStartLabel = 52;
constexpr int kFinishLabel = 53;
constexpr int kRestLabel = 54;
constexpr int kBatonsLabel = 55;

void digits(QLineEdit* field, int most) {
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(most)), field));
}

} // namespace

TfrmFPSetup::TfrmFPSetup(ProgramContext& context, MainState& state, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmFPSetup>()), context_(context), state_(state) {
    ui_->setupUi(this);
    ui_->TabControl1->addTab(QStringLiteral("Single Baton FP (Fenric A)"));
    ui_->TabControl1->addTab(QStringLiteral("Multiple Baton FP (Fenric B)"));
    digits(ui_->MaskEdit1, 3);
    digits(ui_->MaskEdit4, 3);
    digits(ui_->MaskEdit5, 1);
    // Two digits, then a fixed "h00".
    ui_->MaskEdit2->setInputMask(QStringLiteral("99\\h\\0\\0; "));
    ui_->MaskEdit3->setInputMask(QStringLiteral("99\\h\\0\\0; "));
    ui_->MaskEdit1->setText(QStringLiteral("015"));
    ui_->MaskEdit2->setText(QStringLiteral("01h00"));
    ui_->MaskEdit3->setText(QStringLiteral("01h00"));
    ui_->MaskEdit4->setText(QStringLiteral("010"));
    ui_->MaskEdit5->setText(QStringLiteral("1"));
    correctOnLeaving(ui_->MaskEdit1, roundTimeOnLeave);
    correctOnLeaving(ui_->MaskEdit2, patrolTimeOnLeave);
    correctOnLeaving(ui_->MaskEdit3, patrolTimeOnLeave);
    correctOnLeaving(ui_->MaskEdit4, restTimeOnLeave);
    correctOnLeaving(ui_->MaskEdit5, batonsOnLeave);
    connect(ui_->TabControl1, &QTabBar::currentChanged, this, &TfrmFPSetup::TabControl1Change);
    connect(ui_->ListBox1, &QListWidget::itemClicked, this, &TfrmFPSetup::ListBox1Click);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmFPSetup::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TfrmFPSetup::Button2Click);
    showTabFields(0);
}

TfrmFPSetup::~TfrmFPSetup() = default;

void TfrmFPSetup::correctOnLeaving(QLineEdit* field, std::string (*correct)(const std::string&)) {
    connect(field, &QLineEdit::editingFinished, this, [field, correct] {
        const QString corrected = fromBytes(correct(toBytes(field->displayText())));
        if (corrected != field->displayText())
            field->setText(corrected);
    });
}

void TfrmFPSetup::FormShow() {
    applyCaptions(*this, context_.captions, "TfrmFPSetup");
    ui_->ListBox1->clear();
    for (const std::string& site : context_.sites.names())
        ui_->ListBox1->addItem(fromBytes(site));
    ui_->Button1->setEnabled(false);
    showTabFields(ui_->TabControl1->currentIndex());
}

void TfrmFPSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmFPSetup::showTabFields(int index) {
    const bool single = index == 0;
    const MessageTable& m = context_.messages;
    ui_->MaskEdit2->setVisible(single);
    ui_->MaskEdit3->setVisible(single);
    ui_->MaskEdit4->setVisible(!single);
    ui_->MaskEdit5->setVisible(!single);
    ui_->Label2->setText(fromBytes(m.MessageText(single ? kStartLabel : kRestLabel)));
    ui_->Label4->setText(fromBytes(m.MessageText(single ? kFinishLabel : kBatonsLabel)));
}

void TfrmFPSetup::TabControl1Change(int index) {
    showTabFields(index);
}

void TfrmFPSetup::ListBox1Click() {
    ui_->Button1->setEnabled(true);
}

void TfrmFPSetup::Button1Click() {
    const auto* item = ui_->ListBox1->currentItem();
    if (!item)
        return;
    const int tab = ui_->TabControl1->currentIndex();
    FailedPatrolRequest request{toBytes(item->text()),
                                tab == 0,
                                toBytes(ui_->MaskEdit1->text()),
                                toBytes(ui_->MaskEdit2->displayText()),
                                toBytes(ui_->MaskEdit3->displayText()),
                                toBytes(ui_->MaskEdit4->text()),
                                toBytes(ui_->MaskEdit5->text()),
                                std::to_string(tab)};
    ProgramResult result;
    const bool ran = runReportingErrors(
        context_.desktop.dialogs, [&] { result = ProgramFailedPatrol(context_, state_, request); });
    if (!ran)
        return;
    ui_->MaskEdit1->setText(fromBytes(result.roundTime));
    if (result.closesWindow())
        accept();
}

void TfrmFPSetup::Button2Click() {
    reject();
}

} // namespace kestrova::windows
