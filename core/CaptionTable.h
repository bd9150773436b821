// The captions of the windows: every control text, column or item heading and window title
// that the language file can replace, keyed by window class and control name. It starts with
// the texts the windows define themselves; the windows read their texts from here when they
// are shown, so a language loaded before or after they were built reaches them alike.
// Standard library only.
#pragma once

#include <compare>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// One caption: window class ("TfrmNew"), control name ("CheckBox1", empty for the window's
// title) and, for a list view column, a combo box item, a tab or a line of a memo, its
// 0-based index; kWhole for the control's own text.
struct CaptionKey {
    static constexpr int kWhole = -1;

    std::string window;
    std::string control;
    int index = kWhole;

    auto operator<=>(const CaptionKey&) const = default;
};

// What loading a language file does to the windows besides their texts. The windows exist
// before the first load and keep their state afterwards, so they apply these themselves each
// time `loads` has grown since they last looked.
struct LanguageEffects {
    int loads = 0;                         // language files loaded so far
    bool uncheckSortByCheckpoints = false; // TfrmNew.CheckBox1 is cleared
    bool failedPatrolMenuVisible = false;  // TfrmMain.FailedPatrol1 is shown
    std::optional<int> fpSetupLabel5Width; // TfrmFPSetup.Label5, pixels
    std::optional<int> fpSetupLabel6Width; // TfrmFPSetup.Label6, pixels
};

class CaptionTable {
public:
    // Holds the windows' own texts of every caption the language file feeds.
    CaptionTable();

    // The caption, or the empty text for a key the table does not hold.
    const std::string& text(std::string_view window, std::string_view control,
                            int index = CaptionKey::kWhole) const;
    const std::string& title(std::string_view window) const { return text(window, {}); }
    bool contains(const CaptionKey& key) const { return texts_.count(key) != 0; }

    void setText(const CaptionKey& key, std::string text);

    const std::map<CaptionKey, std::string>& entries() const { return texts_; }

    const LanguageEffects& languageEffects() const { return effects_; }
    // Records the adjustments that follow every successful language load.
    void recordLanguageLoad();

private:
    std::map<CaptionKey, std::string> texts_;
    LanguageEffects effects_;
};

} // namespace kestrova
