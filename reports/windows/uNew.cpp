// The Reports window's widgets. Qt Widgets over the reports logic.
#include "reports/windows/uNew.h"

#include "core/Errors.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "reports/DayFileReading.h"
#include "ui_uNew.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEvent>
#include <QSignalBlocker>
#include <utility>

namespace kestrova::reports_windows {

using windows::fromBytes;
using windows::toBytes;

namespace {

QDate toQDate(const LocalDateTime& day) {
    return QDate(day.year, day.month, day.day);
}

LocalDateTime fromQDate(const QDate& date) {
    return calendarDay(date.year(), date.month(), date.day());
}

void setState(QWidget* widget, const ControlState& state) {
    widget->setVisible(state.visible);
    widget->setEnabled(state.enabled);
}

} // namespace

TfrmNew::TfrmNew(ReportServices services, QWidget* parent)
    : QDialog(parent), s_(services), model_(services.context, services.state),
      ui_(std::make_unique<Ui::TfrmNew>()) {
    ui_->setupUi(this);
    ui_->Panel1->hide();
    ui_->ComboBox2->installEventFilter(this);
    for (QToolButton* marker : {ui_->Shape1, ui_->Shape2, ui_->Shape3})
        marker->setCursor(Qt::PointingHandCursor);

    connect(ui_->Listbox1, &QComboBox::activated, this, &TfrmNew::ListBox1tClick);
    // The button clicked names the choice: a click on the one already checked chooses it again.
    const std::pair<QRadioButton*, ReportKind> kinds[] = {
        {ui_->RadioButton1, ReportKind::ByDownload},
        {ui_->RadioButton2, ReportKind::ClockingList},
        {ui_->RadioButton3, ReportKind::Overview},
        {ui_->RadioButton6, ReportKind::Exception}};
    for (const auto& [button, kind] : kinds)
        connect(button, &QRadioButton::clicked, this,
                [this, kind = kind] { RadioButton1Click(kind); });
    for (const auto& [button, shift] :
         {std::pair{ui_->RadioButton4, Shift::Day}, std::pair{ui_->RadioButton5, Shift::Night}})
        connect(button, &QRadioButton::clicked, this,
                [this, shift = shift] { RadioButton5Click(shift); });
    for (QCalendarWidget* calendar : {ui_->MonthCalendar1, ui_->MonthCalendar2})
        connect(calendar, &QCalendarWidget::clicked, this, &TfrmNew::MonthCalendarClick);
    connect(ui_->TrackBar1, &QSlider::valueChanged, this, &TfrmNew::TrackBar1Change);
    connect(ui_->TrackBar2, &QSlider::valueChanged, this, &TfrmNew::TrackBar2Change);
    connect(ui_->MaskEdit1, &QLineEdit::textEdited, this, &TfrmNew::MaskEdit1Change);
    connect(ui_->MaskEdit2, &QLineEdit::textEdited, this, &TfrmNew::MaskEdit2Change);
    connect(ui_->CheckBox2, &QCheckBox::clicked, this, &TfrmNew::CheckBox2Click);
    connect(ui_->CheckBox4, &QCheckBox::clicked, this, &TfrmNew::CheckBox4Click);
    connect(ui_->ComboBox1, &QComboBox::activated, this, &TfrmNew::ComboBox1Change);
    connect(ui_->ComboBox2, &QComboBox::activated, this, &TfrmNew::ComboBox2Change);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmNew::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TfrmNew::Button2Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &TfrmNew::Button3Click);
    connect(ui_->ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { Button2Click(); });
    connect(ui_->Shape1, &QToolButton::released, this,
            [this] { run([&] { model_.helpMarker(HelpMarker::Overview); }); });
    connect(ui_->Shape2, &QToolButton::released, this,
            [this] { run([&] { model_.helpMarker(HelpMarker::ClockingList); }); });
    connect(ui_->Shape3, &QToolButton::released, this,
            [this] { run([&] { model_.helpMarker(HelpMarker::ByDownload); }); });
    apply();
}

TfrmNew::~TfrmNew() = default;

std::optional<int> TfrmNew::selectedSitePosition() const {
    const auto site = model_.sitePosition();
    return site ? std::optional<int>(static_cast<int>(*site)) : std::nullopt;
}

std::optional<int> TfrmNew::selectedReportKind() const {
    // The exception kind is not stored as the default: older installations know three kinds.
    const ReportKind kind = model_.selection().kind;
    if (kind == ReportKind::Exception)
        return std::nullopt;
    return static_cast<int>(kind);
}

bool TfrmNew::nightShiftChosen() const {
    return model_.selection().shift == Shift::Night;
}

template <typename Operation> void TfrmNew::run(Operation&& operation) {
    if (applying_)
        return;
    runReportingErrors(s_.context.desktop.dialogs, operation);
    apply();
}

template <typename Operation> void TfrmNew::whileBusy(Operation&& operation) {
    ui_->Panel1->setGeometry(rect());
    ui_->Panel1->raise();
    ui_->Panel1->show();
    DispatchOutcome outcome = DispatchOutcome::NothingReported;
    run([&] { outcome = operation(); });
    ui_->Panel1->hide();
    ui_->ListView1->clearSelection();
    if (outcome == DispatchOutcome::Reported)
        accept();
}

void TfrmNew::apply() {
    const QSignalBlocker blockSites(ui_->Listbox1);
    applying_ = true;
    const ReportControls& c = model_.controls();
    const ReportSelection& s = model_.selection();
    Ui::TfrmNew& u = *ui_;

    u.Listbox1->clear();
    for (const auto& name : model_.siteNames())
        u.Listbox1->addItem(fromBytes(name));
    if (const auto site = model_.sitePosition())
        u.Listbox1->setCurrentIndex(static_cast<int>(*site));

    u.RadioButton1->setChecked(s.kind == ReportKind::ByDownload);
    u.RadioButton2->setChecked(s.kind == ReportKind::ClockingList);
    u.RadioButton3->setChecked(s.kind == ReportKind::Overview);
    u.RadioButton6->setChecked(s.kind == ReportKind::Exception);
    u.RadioButton4->setChecked(s.shift == Shift::Day);
    u.RadioButton5->setChecked(s.shift == Shift::Night);
    u.MonthCalendar1->setSelectedDate(toQDate(s.fromDate));
    u.MonthCalendar2->setSelectedDate(toQDate(s.toDate));
    u.MaskEdit1->setText(fromBytes(s.fromTime));
    u.MaskEdit2->setText(fromBytes(s.toTime));
    u.TrackBar1->setValue(s.fromHour);
    u.TrackBar2->setValue(s.toHour);
    u.CheckBox4->setChecked(s.pdfOption);
    u.CheckBox2->setChecked(s.pointFilter);
    u.CheckBox1->setChecked(s.sortOption);
    u.CheckBox3->setChecked(model_.removeDuplicatesBox());

    if (!c.button2Caption.empty())
        u.Button2->setText(fromBytes(c.button2Caption));
    if (!c.button1Caption.empty())
        u.Button1->setText(fromBytes(c.button1Caption));
    if (!c.label2Text.empty())
        u.Label2->setText(fromBytes(c.label2Text));
    using Governed = std::pair<QWidget*, ControlState ReportControls::*>;
    const Governed governed[] = {{u.Button1, &ReportControls::advancedButton},
                                 {u.ComboBox2, &ReportControls::separator},
                                 {u.Label35, &ReportControls::separator},
                                 {u.CheckBox2, &ReportControls::pointFilter},
                                 {u.ComboBox1, &ReportControls::pointSelector},
                                 {u.Label4, &ReportControls::pointSelector},
                                 {u.CheckBox1, &ReportControls::sortOptions},
                                 {u.RadioButton4, &ReportControls::shiftButtons},
                                 {u.RadioButton5, &ReportControls::shiftButtons},
                                 {u.ListView1, &ReportControls::downloadList},
                                 {u.MonthCalendar1, &ReportControls::fromDate},
                                 {u.Label5, &ReportControls::fromDate},
                                 {u.MonthCalendar2, &ReportControls::toDate},
                                 {u.Label2, &ReportControls::toDate},
                                 {u.MaskEdit1, &ReportControls::times},
                                 {u.MaskEdit2, &ReportControls::times},
                                 {u.TrackBar1, &ReportControls::sliders},
                                 {u.TrackBar2, &ReportControls::sliders},
                                 {u.RadioButton6, &ReportControls::exceptionKind},
                                 {u.Button3, &ReportControls::saveCsv}};
    for (const auto& [widget, state] : governed)
        setState(widget, c.*state);
    u.GroupBox4->setVisible(c.advancedGroup);
    // "Remove duplicates" only shows the setting; the heading over the dates stays enabled.
    setState(u.CheckBox3, {false, c.sortOptions.visible});
    setState(u.Label1, {true, c.toDate.visible});
    placePdfOption(c.pdfOptionWithList);
    setState(u.CheckBox4, c.pdfOption);

    u.ComboBox1->clear();
    for (const auto& entry : model_.pointSelector())
        u.ComboBox1->addItem(fromBytes(entry));
    if (const auto point = model_.pointIndex())
        u.ComboBox1->setCurrentIndex(static_cast<int>(*point));
    u.ComboBox2->clear();
    for (const auto& entry : model_.separatorEntries())
        u.ComboBox2->addItem(fromBytes(entry));
    if (const auto separator = model_.separatorIndex())
        u.ComboBox2->setCurrentIndex(static_cast<int>(*separator));

    u.ListView1->setSortingEnabled(false);
    u.ListView1->clear();
    const auto& rows = model_.downloadRows();
    for (std::size_t k = 0; k < rows.size(); ++k) {
        auto* item = new QTreeWidgetItem(u.ListView1);
        item->setText(0, fromBytes(rows[k].date));
        item->setText(1, fromBytes(rows[k].time));
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(k));
    }
    u.ListView1->setSortingEnabled(true);
    u.ListView1->sortByColumn(0, Qt::AscendingOrder);
    applying_ = false;
}

void TfrmNew::placePdfOption(bool withList) {
    QCheckBox* option = ui_->CheckBox4;
    QBoxLayout* from = withList ? ui_->advancedLayout : ui_->leftLayout;
    QBoxLayout* to = withList ? ui_->leftLayout : ui_->advancedLayout;
    if (to->indexOf(option) >= 0)
        return;
    from->removeWidget(option);
    to->insertWidget(withList ? to->indexOf(ui_->ListView1) + 1 : 0, option);
}

void TfrmNew::FormShow() {
    windows::applyCaptions(*this, s_.context.captions, "TfrmNew");
    run([&] { model_.FormShow(); });
}

void TfrmNew::FormActivate() {
    run([&] { model_.FormActivate(); });
}

void TfrmNew::FormDeactivate() {
    if (writer_)
        writer_->SavePreferences();
}

void TfrmNew::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
    FormActivate();
}

void TfrmNew::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow())
        FormActivate();
    else
        FormDeactivate();
}

void TfrmNew::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ui_->Panel1->setGeometry(rect());
}

bool TfrmNew::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->ComboBox2 && event->type() == QEvent::FocusOut)
        ComboBox2Exit();
    return QDialog::eventFilter(watched, event);
}

void TfrmNew::ListBox1tClick(int index) {
    run([&] { model_.siteChosen(static_cast<std::size_t>(index)); });
}

void TfrmNew::RadioButton1Click(ReportKind kind) {
    run([&] { model_.kindChosen(kind); });
    arrange();
}

void TfrmNew::RadioButton5Click(Shift shift) {
    run([&] { model_.shiftChosen(shift); });
}

void TfrmNew::MonthCalendarClick() {
    const LocalDateTime from = fromQDate(ui_->MonthCalendar1->selectedDate());
    const LocalDateTime to = fromQDate(ui_->MonthCalendar2->selectedDate());
    run([&] { model_.datesChosen(from, to); });
}

void TfrmNew::TrackBar1Change(int position) {
    run([&] { model_.sliderMoved(false, position); });
}

void TfrmNew::TrackBar2Change(int position) {
    run([&] { model_.sliderMoved(true, position); });
}

void TfrmNew::MaskEdit1Change(const QString& text) {
    run([&] { model_.timeEdited(false, toBytes(text)); });
}

void TfrmNew::MaskEdit2Change(const QString& text) {
    run([&] { model_.timeEdited(true, toBytes(text)); });
}

void TfrmNew::CheckBox2Click(bool checked) {
    run([&] { model_.pointFilterToggled(checked); });
}

void TfrmNew::CheckBox4Click(bool checked) {
    run([&] { model_.pdfOptionToggled(checked); });
}

void TfrmNew::ComboBox1Change(int index) {
    run([&] { model_.choosePoint(static_cast<std::size_t>(index)); });
}

void TfrmNew::ComboBox2Change(int index) {
    run([&] { model_.separatorChosen(static_cast<std::size_t>(index)); });
}

void TfrmNew::ComboBox2Exit() {
    run([&] { model_.separatorLeft(); });
}

void TfrmNew::Button1Click() {
    run([&] { model_.advancedToggled(); });
    arrange();
}

void TfrmNew::arrange() {
    // The controls shown change with the kind and the layout: the window takes the size they
    // need, so the simple layout does not keep the room of the advanced group.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    adjustSize();
}

void TfrmNew::Button2Click() {
    ui_->Button2->setEnabled(true);
    std::vector<std::size_t> rows;
    const auto selected = ui_->ListView1->selectedItems();
    for (QTreeWidgetItem* item : selected)
        rows.push_back(static_cast<std::size_t>(item->data(0, Qt::UserRole).toULongLong()));
    whileBusy([&] { return model_.createOpen(rows, s_.processing, s_.chart); });
}

void TfrmNew::Button3Click() {
    std::optional<std::filesystem::path> file;
    run([&] {
        file = s_.context.desktop.dialogs.saveFile(
            {"Save as CSV", "*.csv", "", "csv", s_.context.programDir});
    });
    if (file)
        whileBusy([&] { return model_.saveCsv(*file, s_.processing, s_.chart); });
}

} // namespace kestrova::reports_windows
