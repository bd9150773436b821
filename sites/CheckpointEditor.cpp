// The checkpoint editor's actions over the site's list file.
#include "sites/CheckpointEditor.h"

#include "core/FileNames.h"
#include "core/ProgramContext.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"

#include <algorithm>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr int kUnknownCheckpoint = 23;
constexpr int kDeleteQuestion = 29;
constexpr int kEndOfFile = 61;
constexpr int kListFor = 64;
constexpr int kPrintedOn = 65;
constexpr int kPrintedAt = 66;
constexpr int kListHeading = 67;
constexpr int kBatonUploaded = 81;
constexpr int kNoSeparator = 84;
constexpr int kRestartNeeded = 87;
constexpr int kSiteNotRemoved = 113;

constexpr std::string_view kPrintedListName = "List.txt";

} // namespace

std::string normaliseTypedId(const std::string& field) {
    std::string id = field.substr(0, 6);
    id.resize(6, ' ');
    for (char& c : id) {
        if (c == 'i' || c == 'I' || c == 'l' || c == 'L')
            c = '1';
        else if (c == 'o' || c == 'O')
            c = '0';
        else if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return id;
}

bool typedIdAccepts(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string printedLocationName(const std::string& name, const std::string& unknownName) {
    for (std::size_t digits = 1; digits <= 2; ++digits)
        if (name.size() == digits + 1 + unknownName.size() && name[digits] == ' ' &&
            name.compare(digits + 1, std::string::npos, unknownName) == 0)
            return name.substr(0, digits);
    return name;
}

FailedPatrolRequest panelProgramming(const std::string& site, const ScheduleFields& schedule) {
    return {site,
            schedule.type == FailedPatrolType::Single,
            schedule.roundTime,
            schedule.start[0],
            schedule.finish[0],
            schedule.restTime,
            schedule.numBatons,
            typeName(schedule.type)};
}

CheckpointEditor::CheckpointEditor(ProgramContext& context, MainState& state,
                                   std::optional<std::size_t> initialSite)
    : context_(context), state_(state) {
    preselect(initialSite);
}

void CheckpointEditor::preselect(std::optional<std::size_t> site) {
    if (site && *site < siteNames().size())
        selectedSite_ = site;
}

std::vector<std::string> CheckpointEditor::siteNames() const {
    std::vector<std::string> names = context_.sites.names();
    std::erase_if(names, [&](const std::string& name) { return deletedSites_.count(name) != 0; });
    return names;
}

std::optional<std::string> CheckpointEditor::selectedSiteName() const {
    const auto names = siteNames();
    if (!selectedSite_ || *selectedSite_ >= names.size())
        return std::nullopt;
    return names[*selectedSite_];
}

void CheckpointEditor::open(std::optional<std::size_t> reportsSite) {
    const std::size_t count = siteNames().size();
    if (reportsSite && *reportsSite < count)
        selectedSite_ = reportsSite;
    separatorChoice_ = 0;
    rows_.clear();
    selectedRows_.clear();
    if (!selectedSite_ && count > 0)
        selectedSite_ = 0;
    if (selectedSite_)
        loadSite(*selectedSite_);
}

void CheckpointEditor::selectSite(std::size_t position) {
    if (position >= siteNames().size())
        return;
    selectedSite_ = position;
    loadSite(position);
}

void CheckpointEditor::loadSite(std::size_t position) {
    const std::string site = siteNames().at(position);
    rows_.clear();
    selectedRows_.clear();
    currentRow_.reset();
    idLabel_.clear();
    locationText_.clear();
    locationEditable_ = false;
    separatorChoice_ = 0;
    loadedSite_ = site;
    if (!checkpointListExists(context_.programDir, site)) {
        CreateEmptyCheckpointList(context_.programDir, site, EmptyListForm::NamedForSite);
        return;
    }
    const CheckpointListContents contents = LoadCheckpointList(context_.programDir, site);
    int number = 0;
    for (const Checkpoint& checkpoint : contents.checkpoints)
        rows_.push_back(EditorRow{++number, checkpoint});
    syncSeparatorChoice();
    schedule_ = scheduleFromValues(contents.schedule);
}

void CheckpointEditor::ensureLoaded() {
    const auto site = selectedSiteName();
    if (site && loadedSite_ != site)
        loadSite(*selectedSite_);
}

void CheckpointEditor::syncSeparatorChoice() {
    separatorChoice_ = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].checkpoint.mark == kSeparatorMark)
            separatorChoice_ = static_cast<int>(i) + 1;
}

void CheckpointEditor::showRow(std::size_t row) {
    idLabel_ = rows_[row].checkpoint.id;
    locationText_ = rows_[row].checkpoint.name;
}

void CheckpointEditor::clickRow(std::size_t row) {
    if (row >= rows_.size())
        return;
    currentRow_ = row;
    selectedRows_.insert(row);
    showRow(row);
    locationEditable_ = true;
}

void CheckpointEditor::setSelectedRows(std::set<std::size_t> rows,
                                       std::optional<std::size_t> shown) {
    std::erase_if(rows, [&](std::size_t row) { return row >= rows_.size(); });
    selectedRows_ = std::move(rows);
    if (shown && *shown < rows_.size())
        showRow(*shown);
}

std::optional<std::size_t> CheckpointEditor::selectedRow() const {
    if (currentRow_ && selectedRows_.count(*currentRow_) != 0)
        return currentRow_;
    if (selectedRows_.empty())
        return std::nullopt;
    return *selectedRows_.begin();
}

void CheckpointEditor::setLocationText(const std::string& text) {
    locationText_ = text;
    if (const auto row = selectedRow())
        rows_[*row].checkpoint.name = text;
    creditsShown_ = text == kCreditsTrigger;
}

bool CheckpointEditor::beginTypedAdd() {
    pendingId_.clear();
    return selectedSiteName().has_value();
}

void CheckpointEditor::finishTypedAdd() {
    if (pendingId_.empty() || pendingId_ == "      " || !selectedSiteName())
        return;
    ensureLoaded();
    appendRow(pendingId_);
    save();
}

void CheckpointEditor::appendRow(const std::string& id) {
    const std::string unknown = context_.messages.MessageText(kUnknownCheckpoint);
    const std::string name =
        id == "000000" ? context_.messages.MessageText(kBatonUploaded) : unknown;
    rows_.push_back(EditorRow{static_cast<int>(rows_.size()) + 1, {id, kOrdinaryMark, name}});
    context_.adminLog.WriteAdminLog(*loadedSite_, "New Id Button Added (" + id + ") " + unknown);
    const std::size_t row = rows_.size() - 1;
    selectedRows_ = {row};
    currentRow_ = row;
    showRow(row);
}

void CheckpointEditor::AddReadInCheckpoint(const std::string& id) {
    addReadIn(id);
    if (readIn_)
        readIn_();
}

void CheckpointEditor::addReadIn(const std::string& id) {
    if (id == "000000")
        return;
    pendingId_.clear();
    if (closeInputBox_)
        closeInputBox_();
    if (!selectedSiteName())
        return;
    // The rows of a site the editor never showed this run come from its file, so a button
    // read twice is added once even then.
    ensureLoaded();
    const bool known = std::any_of(rows_.begin(), rows_.end(),
                                   [&](const EditorRow& row) { return row.checkpoint.id == id; });
    if (known)
        return;
    appendRow(id);
    AppendCheckpoint(context_.programDir, *loadedSite_, id,
                     context_.messages.MessageText(kUnknownCheckpoint));
}

bool CheckpointEditor::deleteSelected() {
    if (selectedRows_.empty() || !selectedSiteName())
        return false;
    const bool confirmed =
        context_.desktop.dialogs.confirm(context_.messages.MessageText(kDeleteQuestion));
    if (confirmed) {
        for (const std::size_t row : selectedRows_)
            context_.adminLog.WriteAdminLog(*loadedSite_, "Id Button Deleted (" +
                                                              rows_[row].checkpoint.id + ") " +
                                                              rows_[row].checkpoint.name);
        for (auto it = selectedRows_.rbegin(); it != selectedRows_.rend(); ++it)
            rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*it));
        selectedRows_.clear();
        currentRow_.reset();
        syncSeparatorChoice();
    }
    save();
    return confirmed;
}

void CheckpointEditor::move(int direction) {
    const auto row = selectedRow();
    if (row) {
        const auto neighbour = static_cast<std::ptrdiff_t>(*row) + direction;
        if (neighbour >= 0 && neighbour < static_cast<std::ptrdiff_t>(rows_.size())) {
            const auto other = static_cast<std::size_t>(neighbour);
            std::swap(rows_[*row].checkpoint, rows_[other].checkpoint);
            selectedRows_ = {other};
            currentRow_ = other;
            showRow(other);
            syncSeparatorChoice();
        }
    }
    save();
}

std::vector<std::string> CheckpointEditor::separatorEntries() const {
    std::vector<std::string> entries{context_.messages.MessageText(kNoSeparator)};
    for (const EditorRow& row : rows_)
        entries.push_back("(" + row.checkpoint.id + ") " + row.checkpoint.name);
    return entries;
}

void CheckpointEditor::chooseSeparator(int entry) {
    const auto entries = separatorEntries();
    if (entry < 0 || entry >= static_cast<int>(entries.size()))
        return;
    const std::string id =
        entry == 0 ? std::string() : entries[static_cast<std::size_t>(entry)].substr(1, 6);
    for (EditorRow& row : rows_)
        row.checkpoint.mark =
            entry != 0 && row.checkpoint.id == id ? kSeparatorMark : kOrdinaryMark;
    separatorChoice_ = entry;
    save();
}

std::optional<fs::path> CheckpointEditor::viewList() {
    const auto names = siteNames();
    if (names.empty())
        return std::nullopt;
    const std::string site = selectedSiteName().value_or(names.front());
    if (!checkpointListExists(context_.programDir, site))
        return std::nullopt;
    const MessageTable& m = context_.messages;
    const LocalDateTime now = context_.desktop.clock.now();
    const std::string rule = "  +========+=========================================";
    Lines lines{"",
                "     " + m.MessageText(kListFor) + " " + site,
                "     " + m.MessageText(kPrintedOn) + " " + context_.desktop.locale.shortDate(now) +
                    " " + m.MessageText(kPrintedAt) + " " + context_.desktop.locale.longTime(now),
                "",
                rule,
                "  |" + m.MessageText(kListHeading),
                rule};
    const std::string unknown = m.MessageText(kUnknownCheckpoint);
    for (const Checkpoint& checkpoint :
         readCheckpointSection(readLines(checkpointListPath(context_.programDir, site)))) {
        lines.push_back("  |        |");
        lines.push_back("  | " + checkpoint.id + " |");
        lines.push_back("  |        | " + printedLocationName(checkpoint.name, unknown));
        lines.push_back("  +--------+-----------------------------------------");
    }
    lines.push_back("");
    lines.push_back(m.MessageText(kEndOfFile));
    lines.push_back(context_.settings.get().aboutWeb);
    const fs::path file = resolveInDirectory(context_.programDir, kPrintedListName);
    replaceFileLines(file, lines);
    try {
        context_.desktop.documents.openDocument(file);
    } catch (const std::exception&) {
        // The list is written; a viewer that fails to start is the desktop's business.
    }
    return file;
}

void CheckpointEditor::close() {
    save();
    refreshSiteIndex();
}

void CheckpointEditor::refreshSiteIndex() {
    const auto names = context_.sites.names();
    const auto blocks = std::min<std::size_t>(names.size(), SiteIndex::kBlocks);
    for (std::size_t position = 0; position < blocks; ++position)
        if (checkpointListExists(context_.programDir, names[position]))
            context_.siteIndex.setBlock(static_cast<int>(position),
                                        ReadCheckpointIds(context_.programDir, names[position]));
}

void CheckpointEditor::autoCorrect() {
    schedule_ = AutoCorrect(schedule_);
    save();
}

void CheckpointEditor::allDaysTheSame() {
    schedule_ = AllDaysTheSame(schedule_);
    save();
}

void CheckpointEditor::twentyFourHourPatrols() {
    schedule_ = TwentyFourHourPatrols(schedule_);
    save();
}

ProgramResult CheckpointEditor::programNextBaton() {
    const ProgramResult result = ProgramFailedPatrol(
        context_, state_, panelProgramming(selectedSiteName().value_or(""), schedule_));
    schedule_.roundTime = result.roundTime;
    return result;
}

void CheckpointEditor::save() {
    const auto site = selectedSiteName();
    if (!site || loadedSite_ != site)
        return;
    std::vector<Checkpoint> checkpoints;
    checkpoints.reserve(rows_.size());
    for (const EditorRow& row : rows_)
        checkpoints.push_back(row.checkpoint);
    SaveCheckpointList(context_.programDir, *site, checkpoints, scheduleToValues(schedule_));
}

std::optional<std::string> CheckpointEditor::CreateSite() {
    auto name = AddSite(context_);
    if (name)
        LoadSiteIndex(context_);
    return name;
}

CheckpointEditor::DeleteStep CheckpointEditor::DeleteSite() {
    const auto site = selectedSiteName();
    if (!site)
        return DeleteStep::NothingSelected;
    ensureLoaded();
    if (!rows_.empty())
        return DeleteStep::Confirm;
    return performDelete(*site) ? DeleteStep::Deleted : DeleteStep::Failed;
}

bool CheckpointEditor::confirmSiteDelete(const std::string& typed) {
    const auto site = selectedSiteName();
    if (!site)
        return false;
    if (toLowerAscii(typed) != toLowerAscii(*site)) {
        context_.desktop.dialogs.showInformation(context_.messages.MessageText(kSiteNotRemoved));
        return false;
    }
    return performDelete(*site);
}

// The directory goes to the trash, never away for good. When the trash refuses it, nothing
// is logged or taken off the list, and the program is not closed: the site is still there.
bool CheckpointEditor::performDelete(const std::string& site) {
    const fs::path dir = resolveInDirectory(context_.programDir, site);
    if (!context_.desktop.trash.moveToTrash(dir) || fs::exists(dir)) {
        context_.desktop.dialogs.showError(context_.messages.MessageText(kSiteNotRemoved) + " \"" +
                                           site + "\": it could not be moved to the trash.");
        return false;
    }
    context_.desktop.dialogs.showInformation(context_.messages.MessageText(kRestartNeeded));
    context_.adminLog.WriteAdminLog(site, "Site Deleted");
    deletedSites_.insert(site);
    selectedSite_.reset();
    loadedSite_.reset();
    rows_.clear();
    selectedRows_.clear();
    currentRow_.reset();
    state_.setCloseRequested(true);
    return true;
}

} // namespace kestrova
