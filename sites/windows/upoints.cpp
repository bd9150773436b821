// The checkpoint editor window.
#include "sites/windows/upoints.h"

#include "core/Errors.h"
#include "core/ProgramContext.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "sites/CheckpointEditor.h"
#include "sites/windows/uSiteDel.h"
#include "sites/windows/uinpubox.h"
#include "ui_upoints.h"

#include <QAction>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <utility>

namespace kestrova::windows {

namespace {

constexpr const char* kRed = "color: red;";
constexpr const char* kRedField = "background-color: red; color: white;";

void digits(QLineEdit* field, int most) {
    field->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(most)), field));
}

void colourLabel(QWidget* label, FieldColour colour) {
    label->setStyleSheet(colour == FieldColour::Red ? kRed : "");
}

void colourField(QLineEdit* field, FieldColour colour) {
    field->setStyleSheet(colour == FieldColour::Red ? kRedField : "");
}

void setTextKeepingCursor(QLineEdit* field, const std::string& text) {
    const QString value = fromBytes(text);
    if (field->displayText() != value)
        field->setText(value);
}

QAction* menuAction(QWidget* owner, const char* name, const QString& text) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    owner->addAction(action);
    return action;
}

} // namespace

Tfrmpoints::Tfrmpoints(ProgramContext& context, MainState& state, CheckpointEditor& editor,
                       QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::Tfrmpoints>()), context_(context), state_(state),
      editor_(editor), inputBox_(std::make_unique<TfrmInputBox>(editor, context.captions, this)),
      siteDel_(std::make_unique<TfrmSiteDel>(context, editor, this)) {
    ui_->setupUi(this);
    ui_->ListView->setColumnWidth(0, 30);
    ui_->ListView->setColumnWidth(1, 70);
    ui_->ListView->setColumnWidth(2, 278);
    ui_->Credits->setVisible(false);
    ui_->Credits->setAlignment(Qt::AlignCenter);
    ui_->Credits->setText(QStringLiteral("Kestrova uploader\n\nsites, checkpoints\nand patrols"));
    ui_->Credits->setStyleSheet(QStringLiteral(
        "background-color: navy; color: yellow; border-radius: 100px; font-weight: bold;"));
    digits(ui_->MaskEdit1, 3);
    digits(ui_->MaskEdit4, 3);
    digits(ui_->MaskEdit5, 1);
    for (int day = 0; day < kDaysInWeek; ++day)
        for (QLineEdit* field : {startField(day), finishField(day)})
            field->setInputMask(QStringLiteral("99\\h99; "));
    ui_->Button6->setStyleSheet(kRed);
    ui_->Label13->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    wire();
    editor_.setInputBoxCloser([this] { inputBox_->closeEmpty(); });
    editor_.setReadInListener([this] {
        if (isVisible())
            redraw();
    });
}

Tfrmpoints::~Tfrmpoints() {
    editor_.setInputBoxCloser({});
    editor_.setReadInListener({});
}

// Monday's times are MaskEdit2 and MaskEdit3; Tuesday's to Sunday's MaskEdit6 to MaskEdit17
// (MaskEdit4 and MaskEdit5 are the rest time and the number of batons).
QLineEdit* Tfrmpoints::startField(int day) const {
    const int number = day == 0 ? 2 : 4 + 2 * day;
    return findChild<QLineEdit*>(QStringLiteral("MaskEdit%1").arg(number));
}
QLineEdit* Tfrmpoints::finishField(int day) const {
    const int number = day == 0 ? 3 : 5 + 2 * day;
    return findChild<QLineEdit*>(QStringLiteral("MaskEdit%1").arg(number));
}

void Tfrmpoints::wire() {
    auto& u = *ui_;
    connect(u.ListBox1, &QListWidget::itemClicked, this, &Tfrmpoints::ListBox1Click);
    connect(u.ListView, &QTreeWidget::itemClicked, this, &Tfrmpoints::ListViewClick);
    connect(u.ListView, &QTreeWidget::itemSelectionChanged, this,
            &Tfrmpoints::ListViewSelectionChange);
    connect(u.edtLocation, &QLineEdit::textEdited, this, &Tfrmpoints::edtLocationChange);
    connect(u.edtLocation, &QLineEdit::editingFinished, this, &Tfrmpoints::edtLocationExit);
    connect(u.btnAdd, &QPushButton::clicked, this, &Tfrmpoints::btnAddClick);
    connect(u.btnDeleate, &QPushButton::clicked, this, &Tfrmpoints::btnDeleateClick);
    connect(u.Button1, &QPushButton::clicked, this, &Tfrmpoints::Button1Click);
    connect(u.Button2, &QPushButton::clicked, this, &Tfrmpoints::Button2Click);
    connect(u.Button3, &QPushButton::clicked, this, &Tfrmpoints::Button3Click);
    connect(u.Button4, &QPushButton::clicked, this, &Tfrmpoints::Button4Click);
    connect(u.Button10, &QPushButton::clicked, this, &Tfrmpoints::Button10Click);
    connect(u.ComboBox1, &QComboBox::activated, this, &Tfrmpoints::ComboBox1Change);
    connect(u.ComboBox2, &QComboBox::activated, this, &Tfrmpoints::ComboBox2Change);
    connect(u.Button5, &QPushButton::clicked, this, &Tfrmpoints::Button5Click);
    connect(u.Button6, &QPushButton::clicked, this, &Tfrmpoints::Button6Click);
    connect(u.Button8, &QPushButton::clicked, this, &Tfrmpoints::Button8Click);
    connect(u.Button9, &QPushButton::clicked, this, &Tfrmpoints::Button9Click);
    std::vector<QLineEdit*> fields{u.MaskEdit1, u.MaskEdit4, u.MaskEdit5};
    for (int day = 0; day < kDaysInWeek; ++day) {
        fields.push_back(startField(day));
        fields.push_back(finishField(day));
    }
    for (QLineEdit* field : fields) {
        connect(field, &QLineEdit::textChanged, this, &Tfrmpoints::scheduleFieldChange);
        connect(field, &QLineEdit::editingFinished, this, &Tfrmpoints::scheduleFieldExit);
    }
    // The pop-up menus of the two lists.
    const auto text = [this](const char* control) {
        return fromBytes(context_.captions.text("Tfrmpoints", control));
    };
    connect(menuAction(u.ListView, "Add1", text("Add1")), &QAction::triggered, this,
            &Tfrmpoints::btnAddClick);
    connect(menuAction(u.ListView, "Delete1", text("Delete1")), &QAction::triggered, this,
            &Tfrmpoints::btnDeleateClick);
    connect(menuAction(u.ListView, "ViewList1", text("ViewList1")), &QAction::triggered, this,
            &Tfrmpoints::Button1Click);
    connect(menuAction(u.ListView, "MoveUp1", text("MoveUp1")), &QAction::triggered, this,
            &Tfrmpoints::Button3Click);
    connect(menuAction(u.ListView, "MoveDown1", text("MoveDown1")), &QAction::triggered, this,
            &Tfrmpoints::Button4Click);
    connect(menuAction(u.ListBox1, "Delete2", text("Delete2")), &QAction::triggered, this,
            &Tfrmpoints::Delete2Click);
    connect(menuAction(u.ListBox1, "Add2", text("Add2")), &QAction::triggered, this,
            &Tfrmpoints::Button2Click);
}

void Tfrmpoints::act(const std::function<void()>& action) {
    runReportingErrors(context_.desktop.dialogs, action);
    redraw();
}

void Tfrmpoints::FormShow(std::optional<std::size_t> reportsSite) {
    reportsSite_ = reportsSite;
    show();
}

int Tfrmpoints::openModal(std::optional<std::size_t> reportsSite) {
    reportsSite_ = reportsSite;
    return exec();
}

void Tfrmpoints::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    applyCaptions(*this, context_.captions, "Tfrmpoints");
    const auto reportsSite = std::exchange(reportsSite_, std::nullopt);
    act([&] { editor_.open(reportsSite); });
}

void Tfrmpoints::redraw() {
    redrawing_ = true;
    redrawSites();
    redrawRows();
    redrawSchedule();
    redrawing_ = false;
}

void Tfrmpoints::redrawSites() {
    const QSignalBlocker block(ui_->ListBox1);
    QStringList names;
    for (const std::string& site : editor_.siteNames())
        names.push_back(fromBytes(site));
    QStringList shown;
    for (int i = 0; i < ui_->ListBox1->count(); ++i)
        shown.push_back(ui_->ListBox1->item(i)->text());
    if (shown != names) {
        ui_->ListBox1->clear();
        ui_->ListBox1->addItems(names);
    }
    if (const auto selected = editor_.selectedSite())
        ui_->ListBox1->setCurrentRow(static_cast<int>(*selected));
}

void Tfrmpoints::redrawRows() {
    auto& u = *ui_;
    {
        // Items are rewritten in place, never rebuilt while they stand: a redraw in the middle
        // of a click must not take the clicked item away.
        const QSignalBlocker block(u.ListView);
        const auto& rows = editor_.rows();
        while (u.ListView->topLevelItemCount() > static_cast<int>(rows.size()))
            delete u.ListView->takeTopLevelItem(u.ListView->topLevelItemCount() - 1);
        while (u.ListView->topLevelItemCount() < static_cast<int>(rows.size()))
            new QTreeWidgetItem(u.ListView);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QTreeWidgetItem* item = u.ListView->topLevelItem(static_cast<int>(i));
            item->setText(0, QString::number(rows[i].number));
            item->setText(1, fromBytes(rows[i].checkpoint.id));
            item->setText(2, fromBytes(rows[i].checkpoint.name));
            item->setSelected(editor_.selectedRows().count(i) != 0);
        }
        if (const auto current = editor_.currentRow())
            u.ListView->scrollToItem(u.ListView->topLevelItem(static_cast<int>(*current)));
    }
    u.lblIdNum->setText(fromBytes(editor_.idLabel()));
    if (!u.edtLocation->hasFocus())
        setTextKeepingCursor(u.edtLocation, editor_.locationText());
    u.edtLocation->setEnabled(editor_.locationEditable());
    u.ListView->setVisible(!editor_.creditsShown());
    u.Credits->setVisible(editor_.creditsShown());
    const QSignalBlocker block(u.ComboBox1);
    u.ComboBox1->clear();
    for (const std::string& entry : editor_.separatorEntries())
        u.ComboBox1->addItem(fromBytes(entry));
    u.ComboBox1->setCurrentIndex(editor_.separatorChoice());
}

void Tfrmpoints::redrawSchedule() {
    auto& u = *ui_;
    const ScheduleFields& f = editor_.schedule();
    {
        const QSignalBlocker block(u.ComboBox2);
        u.ComboBox2->setCurrentIndex(static_cast<int>(f.type));
    }
    setTextKeepingCursor(u.MaskEdit1, f.roundTime);
    setTextKeepingCursor(u.MaskEdit4, f.restTime);
    setTextKeepingCursor(u.MaskEdit5, f.numBatons);
    for (int day = 0; day < kDaysInWeek; ++day) {
        setTextKeepingCursor(startField(day), f.start[static_cast<std::size_t>(day)]);
        setTextKeepingCursor(finishField(day), f.finish[static_cast<std::size_t>(day)]);
    }
    const ScheduleCheckState s = editor_.scheduleCheck();
    colourLabel(u.Label7, s.roundLabel);
    colourField(u.MaskEdit1, s.roundField);
    colourLabel(u.Label11, s.restLabel);
    colourField(u.MaskEdit4, s.restField);
    colourLabel(u.Label10, s.batonsLabel);
    colourField(u.MaskEdit5, s.batonsField);
    colourLabel(u.Label8, s.startLabel);
    colourLabel(u.Label9, s.finishLabel);
    for (int day = 0; day < kDaysInWeek; ++day) {
        colourField(startField(day), s.startFields[static_cast<std::size_t>(day)]);
        colourField(finishField(day), s.finishFields[static_cast<std::size_t>(day)]);
    }
    u.Label13->setVisible(s.warningShown);
    u.Button6->setVisible(s.autoCorrectShown);
    u.Button5->setEnabled(s.programEnabled);
}

void Tfrmpoints::ListBox1Click() {
    act([&] { editor_.selectSite(static_cast<std::size_t>(ui_->ListBox1->currentRow())); });
}

void Tfrmpoints::ListViewClick(QTreeWidgetItem* item) {
    act([&] {
        editor_.clickRow(static_cast<std::size_t>(ui_->ListView->indexOfTopLevelItem(item)));
    });
}

void Tfrmpoints::ListViewSelectionChange() {
    std::set<std::size_t> rows;
    for (QTreeWidgetItem* item : ui_->ListView->selectedItems())
        rows.insert(static_cast<std::size_t>(ui_->ListView->indexOfTopLevelItem(item)));
    const int current = ui_->ListView->indexOfTopLevelItem(ui_->ListView->currentItem());
    std::optional<std::size_t> shown;
    if (current >= 0)
        shown = static_cast<std::size_t>(current);
    act([&] { editor_.setSelectedRows(rows, shown); });
}

void Tfrmpoints::edtLocationChange(const QString& text) {
    act([&] { editor_.setLocationText(toBytes(text)); });
}

void Tfrmpoints::edtLocationExit() {
    act([&] { editor_.leaveLocation(); });
}

void Tfrmpoints::btnAddClick() {
    if (!editor_.beginTypedAdd())
        return;
    inputBox_->FormShow();
    inputBox_->exec();
    act([&] { editor_.finishTypedAdd(); });
}

void Tfrmpoints::btnDeleateClick() {
    act([&] { editor_.deleteSelected(); });
}

void Tfrmpoints::Button1Click() {
    act([&] { editor_.viewList(); });
}

void Tfrmpoints::Button2Click() {
    act([&] { editor_.CreateSite(); });
}

void Tfrmpoints::Button3Click() {
    act([&] { editor_.moveUp(); });
    ui_->ListView->setFocus();
}

void Tfrmpoints::Button4Click() {
    act([&] { editor_.moveDown(); });
    ui_->ListView->setFocus();
}

void Tfrmpoints::ComboBox1Change(int index) {
    act([&] { editor_.chooseSeparator(index); });
}

void Tfrmpoints::Delete2Click() {
    CheckpointEditor::DeleteStep step = CheckpointEditor::DeleteStep::NothingSelected;
    act([&] { step = editor_.DeleteSite(); });
    if (step == CheckpointEditor::DeleteStep::Confirm) {
        siteDel_->exec();
        redraw();
        if (state_.closeRequested())
            closeEditor();
    } else if (step == CheckpointEditor::DeleteStep::Deleted) {
        closeEditor();
    }
}

void Tfrmpoints::ComboBox2Change(int index) {
    ScheduleFields fields = editor_.schedule();
    fields.type = static_cast<FailedPatrolType>(index);
    editor_.setSchedule(fields);
    act([&] { editor_.leaveScheduleField(); });
}

void Tfrmpoints::scheduleFieldChange() {
    if (redrawing_)
        return;
    auto& u = *ui_;
    ScheduleFields fields = editor_.schedule();
    fields.roundTime = toBytes(u.MaskEdit1->text());
    fields.restTime = toBytes(u.MaskEdit4->text());
    fields.numBatons = toBytes(u.MaskEdit5->text());
    for (int day = 0; day < kDaysInWeek; ++day) {
        fields.start[static_cast<std::size_t>(day)] = toBytes(startField(day)->displayText());
        fields.finish[static_cast<std::size_t>(day)] = toBytes(finishField(day)->displayText());
    }
    editor_.setSchedule(fields);
    redraw();
}

void Tfrmpoints::scheduleFieldExit() {
    act([&] { editor_.leaveScheduleField(); });
}

void Tfrmpoints::Button5Click() {
    std::optional<ProgramResult> result;
    act([&] { result = editor_.programNextBaton(); });
    if (result && result->closesWindow())
        closeEditor();
}

void Tfrmpoints::Button6Click() {
    act([&] { editor_.autoCorrect(); });
}

void Tfrmpoints::Button8Click() {
    act([&] { editor_.allDaysTheSame(); });
}

void Tfrmpoints::Button9Click() {
    act([&] { editor_.twentyFourHourPatrols(); });
}

void Tfrmpoints::Button10Click() {
    closeEditor();
}

void Tfrmpoints::reject() {
    closeEditor();
}

void Tfrmpoints::closeEditor() {
    runReportingErrors(context_.desktop.dialogs, [&] { editor_.close(); });
    QDialog::reject();
    if (closed_)
        closed_();
}

} // namespace kestrova::windows
