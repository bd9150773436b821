// The checkpoint editor's model: the chosen site, its checkpoint rows with their numbers, the
// current row, the pending Id slot of the Id input box, the patrol separator choice and the
// site-settings panel's schedule. Every action saves the site's list as the editor does; the
// window only shows this state and forwards the user's actions. It lives for the whole run,
// so an Id button read at the station reaches the last chosen site whether or not the window
// is showing. Runs on the user-interface thread only. Core only.
#pragma once

#include "core/CheckpointList.h"
#include "core/MainState.h"
#include "sites/FailedPatrol.h"
#include "sites/Schedule.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kestrova {

struct ProgramContext;

struct EditorRow {
    int number = 0; // the "#" column
    Checkpoint checkpoint;

    friend bool operator==(const EditorRow&, const EditorRow&) = default;
};

// The Id input box's normalisation of its field: unfilled positions are spaces, "i", "I", "l"
// and "L" read as 1, "o" and "O" as 0, "a" to "f" as capitals; the first six characters.
std::string normaliseTypedId(const std::string& field);
// Whether the field takes this character (letters and digits only).
bool typedIdAccepts(char c);

// The name "&View List" prints for a location name: the numbered names processing gives
// unknown checkpoints ("7 Unknown checkpoint") print as their number of one or two characters.
std::string printedLocationName(const std::string& name, const std::string& unknownName);

// What "Program Next Baton" programs for a site from the panel's schedule: Monday's window,
// the type's name in the admin log.
FailedPatrolRequest panelProgramming(const std::string& site, const ScheduleFields& schedule);

inline constexpr std::string_view kCreditsTrigger = "Yful_Laevyo";

class CheckpointEditor {
public:
    // `initialSite`: the site position chosen at start-up (DefaultSite), if it is listed.
    CheckpointEditor(ProgramContext& context, MainState& state,
                     std::optional<std::size_t> initialSite);

    // Step 1: the site list, as the editor shows it (a deleted site leaves it at once).
    std::vector<std::string> siteNames() const;
    std::optional<std::size_t> selectedSite() const { return selectedSite_; }
    std::optional<std::string> selectedSiteName() const;

    // Start-up: the DefaultSite position is chosen, if it is listed. Nothing is loaded yet (a
    // start-up that fails touches no site file).
    void preselect(std::optional<std::size_t> site);
    // Opening the window: the Reports window's site, when it has one, is chosen; with none
    // chosen the first site is. Then the site is loaded.
    void open(std::optional<std::size_t> reportsSite);
    // Choosing a site in the list: load it; the current row and the location edit are cleared.
    void selectSite(std::size_t position);

    // Step 2: the rows and their selection.
    const std::vector<EditorRow>& rows() const { return rows_; }
    const std::set<std::size_t>& selectedRows() const { return selectedRows_; }
    std::optional<std::size_t> currentRow() const { return currentRow_; }
    const std::string& idLabel() const { return idLabel_; }
    const std::string& locationText() const { return locationText_; }
    bool locationEditable() const { return locationEditable_; }
    bool creditsShown() const { return creditsShown_; }

    // A click makes the row current and opens the location edit for it; selecting with the
    // keyboard only shows the row's id and name.
    void clickRow(std::size_t row);
    // The selection changed; `shown` is the row whose id and name the labels show.
    void setSelectedRows(std::set<std::size_t> rows, std::optional<std::size_t> shown);
    // Every change of the edit's text renames the selected row (and may show the credits).
    void setLocationText(const std::string& text);
    void leaveLocation() { save(); }

    // Adding by typing: beginTypedAdd empties the pending slot and tells whether to show the
    // Id input box; the box fills or empties the slot; finishTypedAdd adds what it holds.
    bool beginTypedAdd();
    void acceptInputBox(const std::string& field) { pendingId_ = normaliseTypedId(field); }
    void cancelInputBox() { pendingId_.clear(); }
    const std::string& pendingId() const { return pendingId_; }
    void finishTypedAdd();
    // Called when the input box must close (a button was read at the station meanwhile).
    void setInputBoxCloser(std::function<void()> closer) { closeInputBox_ = std::move(closer); }

    // An Id button read at the station (six hexadecimal digits), on the user-interface thread.
    void AddReadInCheckpoint(const std::string& id);
    // Told after every read-in, so a showing window can redraw.
    void setReadInListener(std::function<void()> listener) { readIn_ = std::move(listener); }

    // Asks (message 29) and deletes the selected rows; saves either way. Returns whether rows
    // were deleted.
    bool deleteSelected();
    void moveUp() { move(-1); }
    void moveDown() { move(+1); }

    // ComboBox1: message 84 then "(" + id + ") " + name of every row.
    std::vector<std::string> separatorEntries() const;
    int separatorChoice() const { return separatorChoice_; }
    void chooseSeparator(int entry);

    // "&View List": writes "List.txt" and opens it; no file for a site without a list.
    std::optional<std::filesystem::path> viewList();

    // Closing: saves and refreshes the site checkpoint index.
    void close();

    // Step 3.
    const ScheduleFields& schedule() const { return schedule_; }
    ScheduleCheckState scheduleCheck() const { return CheckSchedule(schedule_); }
    // A field changed (no save); leaving a field saves.
    void setSchedule(const ScheduleFields& fields) { schedule_ = fields; }
    void leaveScheduleField() { save(); }
    void autoCorrect();
    void allDaysTheSame();
    void twentyFourHourPatrols();
    // "Program Next Baton"; the window closes the editor when the result says so.
    ProgramResult programNextBaton();

    // Writes the chosen site's list from the rows and the schedule; nothing without a site.
    void save();

    // "Create a New site": asks for a name, creates the site and the missing pieces of the
    // others, and reloads the index. Returns the new name.
    std::optional<std::string> CreateSite();

    // "Delete" of the site list.
    enum class DeleteStep {
        NothingSelected,
        Confirm, // the site has checkpoints: show TfrmSiteDel
        Deleted, // deleted at once; the editor closes
        Failed,  // the trash refused; the user was told, nothing changed
    };
    DeleteStep DeleteSite();
    // TfrmSiteDel's Enter: the typed name against the chosen site's, in lower case. Returns
    // whether the site was deleted.
    bool confirmSiteDelete(const std::string& typed);

private:
    void loadSite(std::size_t position);
    void ensureLoaded();
    void appendRow(const std::string& id);
    void addReadIn(const std::string& id);
    void move(int direction);
    void showRow(std::size_t row);
    std::optional<std::size_t> selectedRow() const;
    void syncSeparatorChoice();
    bool performDelete(const std::string& site);
    void refreshSiteIndex();

    ProgramContext& context_;
    MainState& state_;
    std::optional<std::size_t> selectedSite_;
    std::optional<std::string> loadedSite_;
    std::set<std::string> deletedSites_;
    std::vector<EditorRow> rows_;
    std::set<std::size_t> selectedRows_;
    std::optional<std::size_t> currentRow_;
    std::string idLabel_;
    std::string locationText_;
    bool locationEditable_ = false;
    bool creditsShown_ = false;
    std::string pendingId_;
    std::function<void()> closeInputBox_;
    std::function<void()> readIn_;
    int separatorChoice_ = 0;
    ScheduleFields schedule_;
};

} // namespace kestrova
