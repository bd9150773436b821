// The preferences window TfrmPref: the eight option boxes, the report header, the language
// list and the report copy folder (read-only; "Choose..." and "No copies" set it). "&Ok" runs the
// settings writer and closes; "&Cancel" (or Escape) closes and writes nothing. The controls keep
// their state while the window is hidden and are reloaded from the settings record each time it is
// shown, so a change abandoned with "&Cancel" is still written by the Reports window's next
// deactivation unless the window was shown again in between. The rules live in core/Preferences.h;
// this class only reads and fills its widgets.
#pragma once

#include "core/Preferences.h"
#include "core/ProgramContext.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class TfrmPref;
}

namespace kestrova::app {

class TfrmPref : public QDialog, public PreferencesWriter {
    Q_OBJECT

public:
    explicit TfrmPref(ProgramContext& context, QWidget* parent = nullptr);
    ~TfrmPref() override;

    // The Reports window's current choices; null (the default) lets the stored values stand.
    void setReportsSelection(const ReportsSelection* reports) { reports_ = reports; }
    // Called with the new messages after a language was loaded (the PDF builder's copy).
    void setAfterLanguageLoad(std::function<void(const MessageTable&)> afterLoad) {
        afterLanguageLoad_ = std::move(afterLoad);
    }

    // Loads the controls from the settings record; run when shown and once at start-up.
    void FormShow();
    // The settings writer with the controls as they stand, then closing the window. Errors are
    // shown by the general error message and leave the window open.
    void SavePreferences() override;

    // The controls' state, as the writer takes it.
    PreferenceControls controls() const;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void CheckBox6Click(bool checked);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyControls(const PreferenceControls& controls);
    void loadLanguage(const std::string& file);
    void showCopyFolder(std::string folder);

    ProgramContext& context_;
    std::unique_ptr<Ui::TfrmPref> ui_;
    const ReportsSelection* reports_ = nullptr;
    std::function<void(const MessageTable&)> afterLanguageLoad_;
    std::vector<std::string> languages_;
    // The folder as the settings hold it: file-system bytes, kept here so that a name the
    // field cannot show exactly is written back unchanged.
    std::string copyFolder_;
    bool loading_ = false;
};

} // namespace kestrova::app
