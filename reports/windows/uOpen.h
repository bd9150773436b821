// The hidden report browser TfrmOpen: never shown, it holds the master site list that other
// windows fill their site lists from (the unknown-checkpoint window's choice of site). Its
// list follows the program's site list.
#pragma once

#include "core/ProgramContext.h"

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class TfrmOpen;
}

namespace kestrova::reports_windows {

class TfrmOpen : public QDialog {
    Q_OBJECT

public:
    explicit TfrmOpen(ProgramContext& context, QWidget* parent = nullptr);
    ~TfrmOpen() override;

    // The site names of ListBox1, in site-list order.
    QStringList siteNames() const;
    // Fills ListBox1 from the program's site list (also run on every change of it).
    void refresh();

private:
    ProgramContext& context_;
    std::unique_ptr<Ui::TfrmOpen> ui_;
    int subscription_;
};

} // namespace kestrova::reports_windows
