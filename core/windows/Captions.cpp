#include "core/windows/Captions.h"

#include "core/windows/WindowText.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace kestrova::windows {

namespace {

QObject* findTarget(QWidget& root, const CaptionKey& key) {
    if (key.control.empty())
        return &root;
    const QString name = QString::fromStdString(key.control);
    if (root.objectName() == name)
        return &root;
    return root.findChild<QObject*>(name);
}

bool setLine(QPlainTextEdit& memo, int index, const QString& text) {
    QStringList lines = memo.toPlainText().split('\n');
    while (lines.size() <= index)
        lines.append(QString());
    lines[index] = text;
    memo.setPlainText(lines.join('\n'));
    return true;
}

// An indexed caption: an item, tab, column heading or line.
bool applyIndexed(QObject& target, int index, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(&target)) {
        while (combo->count() <= index)
            combo->addItem(QString());
        combo->setItemText(index, text);
        return true;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(&target))
        return index < tabs->count() && (tabs->setTabText(index, text), true);
    if (auto* bar = qobject_cast<QTabBar*>(&target))
        return index < bar->count() && (bar->setTabText(index, text), true);
    if (auto* tree = qobject_cast<QTreeWidget*>(&target)) {
        if (tree->columnCount() <= index)
            tree->setColumnCount(index + 1);
        tree->headerItem()->setText(index, text);
        return true;
    }
    if (auto* table = qobject_cast<QTableWidget*>(&target)) {
        if (table->columnCount() <= index)
            table->setColumnCount(index + 1);
        table->setHorizontalHeaderItem(index, new QTableWidgetItem(text));
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(&target))
        return index < list->count() && (list->item(index)->setText(text), true);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(&target))
        return setLine(*memo, index, text);
    return false;
}

// A caption shared with a menu entry or button carries its accelerator mark ("&Checkpoints").
// Where no accelerator can act (a title bar, a label without a buddy) the marks go and "&&"
// stays one "&", as the texts are shown where they were written.
QString withoutAcceleratorMarks(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown.append(text[i]);
    }
    return shown;
}

bool applyWhole(QObject& target, bool isRoot, const QString& text) {
    if (isRoot) {
        static_cast<QWidget&>(target).setWindowTitle(withoutAcceleratorMarks(text));
        return true;
    }
    if (auto* action = qobject_cast<QAction*>(&target))
        return action->setText(text), true;
    if (auto* menu = qobject_cast<QMenu*>(&target))
        return menu->setTitle(text), true;
    if (auto* label = qobject_cast<QLabel*>(&target))
        return label->setText(label->buddy() ? text : withoutAcceleratorMarks(text)), true;
    if (auto* button = qobject_cast<QAbstractButton*>(&target))
        return button->setText(text), true;
    if (auto* group = qobject_cast<QGroupBox*>(&target))
        return group->setTitle(text), true;
    if (auto* edit = qobject_cast<QLineEdit*>(&target))
        return edit->setText(text), true;
    return false;
}

bool apply(QWidget& root, const CaptionKey& key, const QString& text) {
    QObject* target = findTarget(root, key);
    if (target == nullptr)
        return false;
    if (key.index != CaptionKey::kWhole)
        return applyIndexed(*target, key.index, text);
    return applyWhole(*target, key.control.empty(), text);
}

} // namespace

std::vector<CaptionKey> applyCaptions(QWidget& root, const CaptionTable& captions,
                                      std::string_view window) {
    std::vector<CaptionKey> missed;
    for (const auto& [key, text] : captions.entries()) {
        if (key.window != window)
            continue;
        if (!apply(root, key, fromBytes(text)))
            missed.push_back(key);
    }
    return missed;
}

} // namespace kestrova::windows
