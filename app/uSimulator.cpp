#include "app/uSimulator.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/windows/WindowText.h"
#include "sim/BatonFile.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace kestrova::app {

TfrmSimulator::TfrmSimulator(sim::SimStation& station, const Clock& clock, Dialogs& dialogs,
                             int port, QWidget* parent)
    : QWidget(parent, Qt::Window), station_(station), clock_(clock), dialogs_(dialogs) {
    setObjectName("TfrmSimulator");
    setWindowTitle(QString("Simulated station (port %1)").arg(port));
    auto* layout = new QGridLayout(this);
    stateLabel_ = new QLabel(this);
    stateLabel_->setObjectName("lblState");
    auto* place = new QPushButton("&Place baton...", this);
    place->setObjectName("btnPlace");
    auto* takeOff = new QPushButton("&Take baton off", this);
    takeOff->setObjectName("btnTakeOff");
    idEdit_ = new QLineEdit("00000A", this);
    idEdit_->setObjectName("edtButtonId");
    idEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9A-Fa-f]{6}"), idEdit_));
    auto* touch = new QPushButton("T&ouch Id button", this);
    touch->setObjectName("btnTouch");
    layout->addWidget(stateLabel_, 0, 0, 1, 2);
    layout->addWidget(place, 1, 0);
    layout->addWidget(takeOff, 1, 1);
    layout->addWidget(idEdit_, 2, 0);
    layout->addWidget(touch, 2, 1);
    connect(place, &QPushButton::clicked, this, &TfrmSimulator::PlaceClick);
    connect(takeOff, &QPushButton::clicked, this, &TfrmSimulator::TakeOffClick);
    connect(touch, &QPushButton::clicked, this, &TfrmSimulator::TouchClick);
    showState();
}

void TfrmSimulator::showState() {
    stateLabel_->setText(station_.batonPresent() ? "A baton is on the station."
                                                 : "No baton on the station.");
}

bool TfrmSimulator::placeBatonFile(const std::filesystem::path& file) {
    const bool placed = runReportingErrors(dialogs_, [&] {
        station_.placeBaton(sim::parseBatonFile(readFileBytes(file), clock_.now()));
    });
    showState();
    return placed;
}

void TfrmSimulator::PlaceClick() {
    const auto file = dialogs_.openFile(FileDialogRequest{"Baton file", "*.txt", "", "txt", {}});
    if (file)
        placeBatonFile(*file);
}

void TfrmSimulator::TakeOffClick() {
    station_.takeBatonOff();
    showState();
}

void TfrmSimulator::TouchClick() {
    const std::string id = idEdit_->text().toStdString();
    if (id.size() != 6)
        return;
    const auto byte = [&](std::size_t at) {
        return static_cast<std::uint8_t>(std::stoi(id.substr(at, 2), nullptr, 16));
    };
    station_.touchIdButton(byte(0), byte(2), byte(4));
}

} // namespace kestrova::app
