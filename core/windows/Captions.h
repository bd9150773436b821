// Applies the caption table (core/CaptionTable.h) to a window built from its .ui file: every
// caption of window class `window` goes to the object whose objectName is the caption's
// control name, and the caption without a control name becomes the window title.
//
//   const auto missed = applyCaptions(*this, context.captions, "TfrmIdNum");
//
// Call it when the window is shown (the language may have changed since). What it does by kind
// of object:
//   QAction (menu item)            setText        QMenu (menu entry)     setTitle
//   QLabel, QAbstractButton        setText        QGroupBox              setTitle
//   (the window title and a label without a buddy lose their "&" accelerator marks)
//   QLineEdit                      setText
//   with an index: QComboBox item, QTabWidget/QTabBar tab, QTreeWidget/QTableWidget column
//   heading, QListWidget item, a line of a QPlainTextEdit (lines added as needed).
// Captions for things that are no widget (a file dialog's title) are returned unplaced; the
// window reads them from the table itself. Qt Widgets only, plus the caption table.
#pragma once

#include "core/CaptionTable.h"

#include <QWidget>
#include <string_view>
#include <vector>

namespace kestrova::windows {

// Returns the keys of `window` that found no object to take them.
std::vector<CaptionKey> applyCaptions(QWidget& root, const CaptionTable& captions,
                                      std::string_view window);

} // namespace kestrova::windows
