// Moving a site's directory to the desktop's trash, and making sure it arrived there.
#include "app/QtDesktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace kestrova::app {

namespace {

// The trash of the user's home: $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash.
QString homeTrash() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Trash");
}

// Creates the home trash, owner-only as the desktops create it, when it does not exist.
void ensureHomeTrash(const QString& trash) {
    if (QFileInfo(trash).isDir() || !QDir().mkpath(trash))
        return;
    QFile::setPermissions(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString canonical(const QDir& dir) {
    return QFileInfo(dir.absolutePath()).canonicalFilePath();
}

// Whether `pathInTrash` lies in the "files" folder of a trash: the home trash, or a volume's
// "<top>/.Trash-<uid>" or "<top>/.Trash/<uid>".
bool inATrash(const QString& pathInTrash, const QString& home) {
    const QDir files = QFileInfo(pathInTrash).absoluteDir();
    if (files.dirName() != QLatin1String("files"))
        return false;
    QDir top = files;
    if (!top.cdUp())
        return false;
    if (!canonical(top).isEmpty() && canonical(top) == canonical(QDir(home)))
        return true;
    const QString uid = QString::number(::getuid());
    if (top.dirName() == QLatin1String(".Trash-") + uid)
        return true;
    QDir above = top;
    return top.dirName() == uid && above.cdUp() && above.dirName() == QLatin1String(".Trash");
}

// Undoes a move that went elsewhere than a trash, with the record written beside it.
void putBack(const QString& pathInTrash, const QString& original) {
    const QFileInfo moved(pathInTrash);
    QDir().rename(moved.absoluteFilePath(), original);
    QDir info = moved.absoluteDir();
    if (info.cdUp() && info.cd(QStringLiteral("info")))
        QFile::remove(info.filePath(moved.fileName() + QStringLiteral(".trashinfo")));
}

} // namespace

bool QtTrash::moveToTrash(const std::filesystem::path& item) {
    const QString original = QString::fromStdString(item.string());
    const QString home = homeTrash();
    ensureHomeTrash(home);
    QString pathInTrash;
    if (!QFile::moveToTrash(original, &pathInTrash))
        return false;
    if (!pathInTrash.isEmpty() && QFileInfo::exists(pathInTrash) && inATrash(pathInTrash, home))
        return true;
    if (!pathInTrash.isEmpty() && QFileInfo::exists(pathInTrash))
        putBack(pathInTrash, original);
    return false;
}

} // namespace kestrova::app
