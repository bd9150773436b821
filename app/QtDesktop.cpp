#include "app/QtDesktop.h"

#include "core/SystemQueries.h"
#include "core/windows/WindowText.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QUrl>
#include <memory>

namespace kestrova::app {

using windows::fromBytes;
using windows::toBytes;

namespace {
QString applicationTitle() {
    return QApplication::applicationDisplayName();
}

// The dialog as the request describes it; the file names are the file system's (UTF-8).
std::unique_ptr<QFileDialog> fileDialog(QWidget* parent, const FileDialogRequest& request,
                                        QFileDialog::AcceptMode mode) {
    auto dialog = std::make_unique<QFileDialog>(parent, fromBytes(request.title));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    if (!request.filter.empty())
        dialog->setNameFilter(fromBytes(request.filter));
    QString suffix = fromBytes(request.defaultExtension);
    while (suffix.startsWith('*') || suffix.startsWith('.'))
        suffix.remove(0, 1);
    dialog->setDefaultSuffix(suffix);
    const std::filesystem::path directory =
        request.directory.empty() ? std::filesystem::current_path() : request.directory;
    dialog->setDirectory(QString::fromStdString(directory.string()));
    if (!request.defaultName.empty())
        dialog->selectFile(fromBytes(request.defaultName));
    return dialog;
}

std::optional<std::filesystem::path> runFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}
} // namespace

void QtDialogs::showInformation(const std::string& text) {
    QMessageBox::information(parent_, applicationTitle(), fromBytes(text));
}

void QtDialogs::showError(const std::string& text) {
    QMessageBox::critical(parent_, applicationTitle(), fromBytes(text), QMessageBox::Ok);
}

bool QtDialogs::confirm(const std::string& text) {
    return QMessageBox::question(parent_, applicationTitle(), fromBytes(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::inputLine(const std::string& title, const std::string& prompt,
                                                const std::string& initial) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(parent_, fromBytes(title), fromBytes(prompt),
                                                 QLineEdit::Normal, fromBytes(initial), &accepted);
    if (!accepted)
        return std::nullopt;
    return toBytes(answer);
}

std::optional<std::filesystem::path> QtDialogs::openFile(const FileDialogRequest& request) {
    const auto dialog = fileDialog(parent_, request, QFileDialog::AcceptOpen);
    return runFileDialog(*dialog);
}

std::optional<std::filesystem::path> QtDialogs::saveFile(const FileDialogRequest& request) {
    const auto dialog = fileDialog(parent_, request, QFileDialog::AcceptSave);
    return runFileDialog(*dialog);
}

std::optional<std::filesystem::path> QtDialogs::chooseFolder(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, fromBytes(request.title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const std::filesystem::path directory =
        request.directory.empty() ? std::filesystem::current_path() : request.directory;
    dialog.setDirectory(QString::fromStdString(directory.string()));
    return runFileDialog(dialog);
}

void QtEventPump::processEvents() {
    QCoreApplication::processEvents();
}

void QtDocuments::openDocument(const std::filesystem::path& document) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(document.string())));
}

std::string QtDocuments::programFor(const std::string& extension) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile("x" + QString::fromStdString(extension),
                                                           QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return {};
    return DefaultApplicationFor(type.name().toStdString());
}

void QtBeeper::beep() {
    QApplication::beep();
}

LocalDateTime QtClock::now() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

std::uint64_t QtClock::tickCount() const {
    return TickCountSinceBoot();
}

std::string QtLocale::shortDate(const LocalDateTime& t) const {
    return toBytes(QLocale::system().toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat));
}

namespace {

// The locale's long time format without its time zone ("t"): the reports and the request's
// range show the wall-clock time of the day files, which carry no zone.
QString longTimeFormat() {
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        withoutZone += c;
    }
    return withoutZone.trimmed();
}

} // namespace

std::string QtLocale::longTime(const LocalDateTime& t) const {
    return toBytes(QLocale::system().toString(QTime(t.hour, t.minute, t.second), longTimeFormat()));
}

} // namespace kestrova::app
