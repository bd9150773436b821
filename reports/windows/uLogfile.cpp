// The log viewer's widgets. Qt Widgets over the reports logic.
#include "reports/windows/uLogfile.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/windows/Captions.h"
#include "core/windows/WindowText.h"
#include "ui_uLogfile.h"

#include <QEvent>
#include <QMouseEvent>

namespace kestrova::reports_windows {

using windows::fromBytes;
using windows::toBytes;

namespace {
// The first two columns' widths and the room the grid keeps beside them.
constexpr int kDateColumnWidth = 115;
constexpr int kSiteColumnWidth = 100;
constexpr int kGridMargin = 18;
} // namespace

TfrmLogFile::TfrmLogFile(ProgramContext& context, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::TfrmLogFile>()) {
    ui_->setupUi(this);
    resize(640, 460);
    ui_->ListView2->setColumnWidth(0, kDateColumnWidth);
    ui_->ListView2->setColumnWidth(1, kSiteColumnWidth);
    ui_->ListView2->setColumnWidth(2, 416);
    ui_->ListView1->viewport()->installEventFilter(this);
    connect(ui_->Button1, &QPushButton::clicked, this, &TfrmLogFile::Button1Click);
}

TfrmLogFile::~TfrmLogFile() = default;

void TfrmLogFile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmLogFile::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    stretchActionColumn();
}

void TfrmLogFile::stretchActionColumn() {
    QTreeWidget& grid = *ui_->ListView2;
    const int fixed = grid.columnWidth(0) + grid.columnWidth(1) + kGridMargin;
    grid.setColumnWidth(2, std::max(0, grid.width() - fixed));
}

void TfrmLogFile::fitDateColumn() {
    // "2012/03/05 14:07.22" is wider than the column in some fonts; a cut date is no use.
    QTreeWidget& grid = *ui_->ListView2;
    grid.resizeColumnToContents(0);
    grid.setColumnWidth(0, std::max(kDateColumnWidth, grid.columnWidth(0)));
    stretchActionColumn();
}

bool TfrmLogFile::eventFilter(QObject* watched, QEvent* event) {
    const bool handled = QDialog::eventFilter(watched, event);
    if (watched == ui_->ListView1->viewport() && event->type() == QEvent::MouseButtonRelease)
        ListView1MouseUp();
    return handled;
}

void TfrmLogFile::FormShow() {
    windows::applyCaptions(*this, context_.captions, "TfrmLogFile");
    months_ = listLogMonths(context_.programDir);
    ui_->ListView1->clear();
    for (std::size_t k = 0; k < months_.size(); ++k) {
        auto* item = new QTreeWidgetItem(ui_->ListView1);
        item->setText(0, fromBytes(months_[k].caption));
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(k));
    }
}

void TfrmLogFile::ListView1MouseUp() {
    ui_->ListView2->clear();
    runReportingErrors(context_.desktop.dialogs, [&] {
        for (int row = 0; row < ui_->ListView1->topLevelItemCount(); ++row) {
            QTreeWidgetItem* month = ui_->ListView1->topLevelItem(row);
            if (!month->isSelected())
                continue;
            const auto k = static_cast<std::size_t>(month->data(0, Qt::UserRole).toULongLong());
            for (const auto& entry : loadLogEntries(context_.programDir, months_[k])) {
                auto* item = new QTreeWidgetItem(ui_->ListView2);
                item->setText(0, fromBytes(entry.dateTime));
                item->setText(1, fromBytes(entry.site));
                item->setText(2, fromBytes(entry.action));
            }
            month->setSelected(false);
        }
    });
    fitDateColumn();
}

void TfrmLogFile::Button1Click() {
    runReportingErrors(context_.desktop.dialogs, [&] {
        const auto file = context_.desktop.dialogs.saveFile(
            {"Save Report", "*.csv *.txt", "", "csv", context_.programDir});
        if (!file)
            return;
        QTreeWidget& grid = *ui_->ListView2;
        const bool anySelected = !grid.selectedItems().isEmpty();
        std::vector<LogEntry> entries;
        for (int row = 0; row < grid.topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = grid.topLevelItem(row);
            if (anySelected && !item->isSelected())
                continue;
            entries.push_back(
                {toBytes(item->text(0)), toBytes(item->text(1)), toBytes(item->text(2))});
            item->setSelected(false);
        }
        saveLogExport(*file, entries);
        if (fileExists(*file))
            context_.desktop.documents.openDocument(*file);
    });
}

} // namespace kestrova::reports_windows
