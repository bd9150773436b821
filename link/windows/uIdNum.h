// TfrmIdNum: the id number to give the next baton. The field takes a letter or digit and then
// three digits; Enter confirms it, "~" confirms it and counts it up from baton to baton,
// "&Ok" confirms it with an admin-log entry, "&Cancel" drops the waiting id. The rules are
// link/IdNumber.h's. Qt Widgets and core/windows.
#pragma once

// moc need not read the logic's headers (and cannot parse every standard one).
#ifndef Q_MOC_RUN
#include "core/AdminLog.h"
#include "core/CaptionTable.h"
#include "core/MainState.h"
#include "core/MessageTable.h"
#include "link/IdNumber.h"
#endif

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmIdNum;
}

namespace kestrova::windows {

class TfrmIdNum : public QDialog {
    Q_OBJECT
public:
    TfrmIdNum(MainState& state, AdminLog& adminLog, const MessageTable& messages,
              const CaptionTable& captions, QWidget* parent = nullptr);
    ~TfrmIdNum() override;

    void btnOkClick();
    void Button1Click();
    void MaskEdit1KeyPress(char key);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm(IdEntry entry);

    MainState& state_;
    AdminLog& adminLog_;
    const MessageTable& messages_;
    const CaptionTable& captions_;
    std::unique_ptr<Ui::TfrmIdNum> ui_;
};

} // namespace kestrova::windows
