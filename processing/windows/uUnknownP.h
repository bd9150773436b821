// TfrmUnknownP: what to do with clockings whose ids no site lists — place them in an existing
// site, in a new site, or ignore them. It is the processing's UnknownCheckpointChooser: shown
// modal during a run, it returns once a choice closed it; closing it by the title bar means
// ignore. The choices are processing/UnknownCheckpointChoice.h's. Qt Widgets.
#pragma once

// moc need not read the logic's headers (and cannot parse every standard one).
#ifndef Q_MOC_RUN
#include "core/CaptionTable.h"
#include "processing/UnknownCheckpointChoice.h"
#endif

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmUnknownP;
}

namespace kestrova::windows {

class TfrmUnknownP : public QDialog, public UnknownCheckpointChooser {
    Q_OBJECT
public:
    explicit TfrmUnknownP(const CaptionTable& captions, QWidget* parent = nullptr);
    ~TfrmUnknownP() override;

    void choose(UnknownCheckpointPlacement& placement) override;

    void FormActivate();
    void RadioButtonClick();
    void Button1Click();

    UnknownChoice choice() const;

protected:
    void reject() override; // the title bar, Escape

private:
    const CaptionTable& captions_;
    std::unique_ptr<Ui::TfrmUnknownP> ui_;
    UnknownCheckpointPlacement* placement_ = nullptr;
    bool decided_ = false;
};

} // namespace kestrova::windows
