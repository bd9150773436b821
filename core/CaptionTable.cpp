// The caption table, filled at construction from the form texts of the language file's line
// table, so the two can never name different controls. Standard library only.
#include "core/CaptionTable.h"

#include "core/LanguageFile.h"

namespace kestrova {

namespace {
const std::string kEmpty;

// The failed-patrol window's two long labels are narrowed after a load so that translated
// texts wrap inside the window instead of running past its edge.
constexpr int kFpSetupLabel5Width = 285;
constexpr int kFpSetupLabel6Width = 156;
} // namespace

CaptionTable::CaptionTable() {
    // A control fed by several lines has the same form text on each; the first one stands.
    for (const LanguageCaptionLine& row : languageCaptionLines())
        texts_.try_emplace(CaptionKey{std::string(row.window), std::string(row.control), row.index},
                           row.formText);
}

const std::string& CaptionTable::text(std::string_view window, std::string_view control,
                                      int index) const {
    const auto found = texts_.find(CaptionKey{std::string(window), std::string(control), index});
    return found == texts_.end() ? kEmpty : found->second;
}

void CaptionTable::setText(const CaptionKey& key, std::string text) {
    texts_.insert_or_assign(key, std::move(text));
}

void CaptionTable::recordLanguageLoad() {
    ++effects_.loads;
    effects_.uncheckSortByCheckpoints = true;
    effects_.failedPatrolMenuVisible = true;
    effects_.fpSetupLabel5Width = kFpSetupLabel5Width;
    effects_.fpSetupLabel6Width = kFpSetupLabel6Width;
}

} // namespace kestrova
