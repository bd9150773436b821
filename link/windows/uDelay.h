// TfrmDelay, "Port Setup": the port number the station search starts at from the next start.
// "Ok" stores it through link/PortSetup.h; "Cancel" changes nothing. Qt Widgets.
#pragma once

// moc need not read the logic's headers (and cannot parse every standard one).
#ifndef Q_MOC_RUN
#include "core/MainState.h"
#include "core/ProgramContext.h"
#endif

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmDelay;
}

namespace kestrova::windows {

class TfrmDelay : public QDialog {
    Q_OBJECT
public:
    TfrmDelay(ProgramContext& context, MainState& state, QWidget* parent = nullptr);
    ~TfrmDelay() override;

    void Button1Click(); // Ok
    void Button2Click(); // Cancel

private:
    ProgramContext& context_;
    MainState& state_;
    std::unique_ptr<Ui::TfrmDelay> ui_;
};

} // namespace kestrova::windows
