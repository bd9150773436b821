// The log viewer TfrmLogFile: the months of the admin logs on the right, the entries of the
// months chosen in the grid, and "&Save / Print" to a comma-separated file. Created when the
// main window opens it and destroyed when closed. The logic is reports/AdminLogViewer.h.
#pragma once

#include "core/ProgramContext.h"
#include "reports/AdminLogViewer.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmLogFile;
}

namespace kestrova::reports_windows {

class TfrmLogFile : public QDialog {
    Q_OBJECT

public:
    explicit TfrmLogFile(ProgramContext& context, QWidget* parent = nullptr);
    ~TfrmLogFile() override;

    void FormShow();
    // Loads the selected months into the grid and clears the month selection.
    void ListView1MouseUp();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // "Action performed" takes the grid's width beside the first two columns.
    void stretchActionColumn();
    // The date column widened to its longest entry (never narrower than its set width).
    void fitDateColumn();

    ProgramContext& context_;
    std::unique_ptr<Ui::TfrmLogFile> ui_;
    std::vector<LogMonth> months_;
};

} // namespace kestrova::reports_windows
