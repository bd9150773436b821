// The Reports window TfrmNew: the site, the report kind, the shift, the dates and times, the
// advanced settings and "Create/Open". Every rule and every operation is the logic's
// (reports/ReportsWindowModel.h); this class applies the model's state to its widgets and turns
// their events into the model's operations. It answers the settings writer's question about
// the current choices, and runs that writer when it loses activation.
#pragma once

#include "core/Preferences.h"
#include "core/ReportsSelection.h"
#include "reports/ReportsWindowModel.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmNew;
}

namespace kestrova::reports_windows {

// What "Create/Open" builds with: the report builder and the chart.
struct ReportServices {
    ProgramContext& context;
    MainState& state;
    ProcessingServices& processing;
    OverviewChart& chart;
};

class TfrmNew : public QDialog, public ReportsSelection {
    Q_OBJECT

public:
    explicit TfrmNew(ReportServices services, QWidget* parent = nullptr);
    ~TfrmNew() override;

    // The preferences window's OK step, run on every deactivation; none: nothing is saved.
    void setPreferencesWriter(PreferencesWriter* writer) { writer_ = writer; }

    ReportsWindowModel& model() { return model_; }

    std::optional<int> selectedSitePosition() const override;
    std::optional<int> selectedReportKind() const override;
    bool nightShiftChosen() const override;

    void FormShow();
    void FormActivate();
    void FormDeactivate();

public slots:
    void ListBox1tClick(int index);
    void RadioButton1Click(ReportKind kind);
    void RadioButton5Click(Shift shift);
    void MonthCalendarClick();
    void TrackBar1Change(int position);
    void TrackBar2Change(int position);
    void MaskEdit1Change(const QString& text);
    void MaskEdit2Change(const QString& text);
    void CheckBox2Click(bool checked);
    void CheckBox4Click(bool checked);
    void ComboBox1Change(int index);
    void ComboBox2Change(int index);
    void ComboBox2Exit();
    void Button1Click();
    void Button2Click();
    // "Save as CSV": the file chosen through the desktop's dialog, then the report and its CSV.
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The model's state onto the widgets, without their change events.
    void apply();
    // The PDF option under the download list, or back at the top of the advanced group.
    void placePdfOption(bool withList);
    void arrange();
    template <typename Operation> void run(Operation&& operation);
    // The busy panel over the window while `operation` builds a report; the window closes when
    // something was reported.
    template <typename Operation> void whileBusy(Operation&& operation);

    ReportServices s_;
    ReportsWindowModel model_;
    std::unique_ptr<Ui::TfrmNew> ui_;
    PreferencesWriter* writer_ = nullptr;
    bool applying_ = false;
};

} // namespace kestrova::reports_windows
