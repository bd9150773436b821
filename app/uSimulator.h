// The station simulator's window of the training mode: with "COM<n>=simulator" in the
// settings the program talks to a simulated upload station, and this window plays the guard:
// it places a baton read from a baton file, takes it off, and touches an Id button at the
// station. Qt Widgets.
#pragma once

// moc need not read the logic's headers (and cannot parse every standard one).
#ifndef Q_MOC_RUN
#include "core/Desktop.h"
#include "sim/SimStation.h"
#endif

#include <QWidget>

class QLabel;
class QLineEdit;

namespace kestrova::app {

class TfrmSimulator : public QWidget {
    Q_OBJECT
public:
    TfrmSimulator(sim::SimStation& station, const Clock& clock, Dialogs& dialogs, int port,
                  QWidget* parent = nullptr);

    void PlaceClick();
    void TakeOffClick();
    void TouchClick();
    // Places the baton of a baton file; false (and a message) when it cannot be read.
    bool placeBatonFile(const std::filesystem::path& file);

private:
    void showState();

    sim::SimStation& station_;
    const Clock& clock_;
    Dialogs& dialogs_;
    QLabel* stateLabel_;
    QLineEdit* idEdit_;
};

} // namespace kestrova::app
