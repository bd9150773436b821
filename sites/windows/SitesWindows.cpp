// Building and opening the sites windows.
#include "sites/windows/SitesWindows.h"

#include "core/ProgramContext.h"
#include "sites/windows/ufpsetup.h"
#include "sites/windows/upoints.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace kestrova::windows {

namespace {

// Queues a step on the thread of the application object.
void postToUserInterface(std::function<void()> step) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(step), Qt::QueuedConnection);
}

} // namespace

SitesWindows::SitesWindows(ProgramContext& context, MainState& state,
                           std::optional<std::size_t> initialSite, QWidget* parent)
    : editor_(context, state, initialSite),
      idButtons_(editor_, context.desktop.dialogs, postToUserInterface),
      points_(std::make_unique<Tfrmpoints>(context, state, editor_, parent)),
      fpSetup_(std::make_unique<TfrmFPSetup>(context, state, parent)) {}

SitesWindows::~SitesWindows() = default;

void SitesWindows::openCheckpointEditor(std::optional<std::size_t> reportsSite) {
    points_->openModal(reportsSite);
}

void SitesWindows::openFailedPatrol() {
    fpSetup_->exec();
}

} // namespace kestrova::windows
