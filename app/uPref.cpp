#include "app/uPref.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/LanguageFile.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "ui_uPref.h"

#include <QCheckBox>

namespace kestrova::app {

using windows::fromBytes;
using windows::toBytes;

TfrmPref::TfrmPref(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::TfrmPref>()) {
    ui_->setupUi(this);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmPref::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TfrmPref::Button2Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &TfrmPref::Button3Click);
    connect(ui_->Button4, &QPushButton::clicked, this, &TfrmPref::Button4Click);
    // Only a tick given by the user counts; loading sets the box without a click.
    connect(ui_->CheckBox6, &QCheckBox::clicked, this, &TfrmPref::CheckBox6Click);
}

TfrmPref::~TfrmPref() = default;

void TfrmPref::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmPref::FormShow() {
    windows::applyCaptions(*this, context_.captions, "TfrmPref");
    // The title's caption is also the menu entry's ("&Preferences"); a title bar shows no
    // accelerator, so "&" marks go ("&&" stays one "&").
    QString title = windowTitle();
    for (qsizetype i = 0; i < title.size(); ++i)
        if (title[i] == '&')
            title.remove(i, 1);
    setWindowTitle(title);
    runReportingErrors(context_.desktop.dialogs, [&] {
        applyControls(LoadPreferenceControls(context_.settings.get(), context_.programDir));
    });
}

void TfrmPref::applyControls(const PreferenceControls& controls) {
    loading_ = true;
    const auto boxes = preferenceCheckBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        findChild<QCheckBox*>(QString::fromLatin1(boxes[i].control))
            ->setChecked(controls.checked[i]);
    ui_->Edit1->setText(fromBytes(controls.reportHeader));
    languages_ = controls.languages;
    ui_->ListBox1->clear();
    for (const auto& name : languages_)
        ui_->ListBox1->addItem(fromBytes(name));
    if (controls.selectedLanguage)
        ui_->ListBox1->setCurrentRow(static_cast<int>(*controls.selectedLanguage));
    showCopyFolder(controls.reportCopyFolder);
    loading_ = false;
}

void TfrmPref::showCopyFolder(std::string folder) {
    copyFolder_ = std::move(folder);
    ui_->Edit2->setText(QString::fromStdString(copyFolder_)); // a path: the file system's bytes
    ui_->Button4->setEnabled(!copyFolder_.empty());
}

PreferenceControls TfrmPref::controls() const {
    PreferenceControls controls;
    const auto boxes = preferenceCheckBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        controls.checked[i] =
            findChild<QCheckBox*>(QString::fromLatin1(boxes[i].control))->isChecked();
    controls.reportHeader = toBytes(ui_->Edit1->text());
    controls.languages = languages_;
    const auto selected = ui_->ListBox1->selectedItems();
    if (!selected.isEmpty())
        controls.selectedLanguage = static_cast<std::size_t>(ui_->ListBox1->row(selected.front()));
    controls.reportCopyFolder = copyFolder_;
    return controls;
}

void TfrmPref::loadLanguage(const std::string& file) {
    LoadLanguageFile(resolveInDirectory(context_.programDir, file), context_.messages,
                     context_.captions, context_.desktop.dialogs, context_.trace,
                     afterLanguageLoad_);
}

void TfrmPref::SavePreferences() {
    const bool saved = runReportingErrors(context_.desktop.dialogs, [&] {
        Settings record = context_.settings.get();
        const StoredReportsSelection stored(record);
        const ReportsSelection& reports = reports_ ? *reports_ : stored;
        PreferencesTargets targets{
            context_.settingsFile, record,
            context_.adminLog,     context_.desktop.documents,
            &context_.trace,       [this](const std::string& file) { loadLanguage(file); }};
        try {
            kestrova::SavePreferences(controls(), reports, targets);
        } catch (const ConversionError&) {
            // The reload stopped at a value it cannot convert: the keys read before it count.
            context_.settings.set(record);
            throw;
        }
        context_.settings.set(record);
    });
    if (saved)
        accept();
}

void TfrmPref::Button1Click() {
    SavePreferences();
}

void TfrmPref::Button2Click() {
    reject();
}

void TfrmPref::Button3Click() {
    showCopyFolder(
        chooseReportCopyFolder(context_.desktop.dialogs, copyFolder_, context_.programDir));
}

void TfrmPref::Button4Click() {
    showCopyFolder({});
}

void TfrmPref::CheckBox6Click(bool checked) {
    if (const auto warning = discardUnknownWarning(checked, isActiveWindow(), loading_))
        context_.desktop.dialogs.showInformation(*warning);
}

} // namespace kestrova::app
