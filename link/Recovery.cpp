// An upload cut short: the baton taken off, a reply that never came, the program stopped.
// What the recovery guarantees, for every clocking the upload read:
//
// - Its line is processed once its chip has been cleared (the Set End status came back), or
//   once the whole upload has ended normally. A chip that was read but not cleared still holds
//   its records, so a cut before its clearing drops its lines from "Raw.txt": the next upload
//   reads them again. No processing runs on a file left without clocking lines; such a file
//   is marked done instead.
// - A cut between the Set End and its status leaves it unknown whether the chip was cleared.
//   Its lines are held until the same baton is read again: a chip that then reads empty, or
//   whose records do not begin with the held ones, was cleared, and the held lines are stored
//   with this upload; a chip that still begins with them was not, and they are dropped since
//   they are being read again.
// - When the thread stops, the file is cut back the same way and left for processing (the
//   close-time check offers it); held lines are written into it rather than lost.
#include "core/FileNames.h"
#include "link/CommsSession.h"
#include "link/UploadFile.h"

namespace kestrova {

namespace {

// The columns of a clocking line that come from the record itself: id, month, day, hour and
// minute (the year is the PC's and the packet number the address's).
std::string recordColumns(const std::string& line) {
    return line.size() >= 22 ? line.substr(6, 6) + line.substr(14, 8) : line;
}

} // namespace

void CommsSession::startUpload() {
    uploadFile_ = startUploadFile(s_.programDir, s_.state.identText());
    downloadPending_ = true;
    headerSize_ = committedSize_ = std::filesystem::file_size(uploadFile_);
}

void CommsSession::commitUploadFile() {
    committedSize_ = std::filesystem::file_size(uploadFile_);
}

void CommsSession::recoverInterruptedUpload() {
    if (!downloadPending_)
        return;
    downloadPending_ = false;
    trace("Interrupted upload");
    if (fileExists(uploadFile_) && std::filesystem::file_size(uploadFile_) > committedSize_)
        std::filesystem::resize_file(uploadFile_, committedSize_);
    if (committedSize_ <= headerSize_) {
        appendLine(uploadFile_, "Done"); // nothing left the baton: nothing to process
        return;
    }
    if (settings_.uploadKestrovaData) {
        trace("Synchronize(frmMain.DoRaw)");
        s_.ui.runAndWait([this] { s_.processor.DoRaw(); }, stop_);
        trace("Synchronize(frmMain.DoRaw) End");
    }
}

void CommsSession::holdUnsettledLines(int chip) {
    if (!downloadPending_ || chipLines_.empty())
        return;
    trace("Clearing unconfirmed, lines held " + std::to_string(chipLines_.size()));
    held_ = HeldLines{s_.state.batonIdent(), readLines(uploadFile_).front(), chip, chipLines_};
}

// Called with the size of a chip (empty or not) and at the end of its reading.
void CommsSession::settleHeldLines(int chip, bool chipEmpty) {
    if (!held_ || held_->chip != chip || held_->ident != s_.state.batonIdent() ||
        !settings_.uploadKestrovaData)
        return;
    if (chipEmpty) {
        storeHeldLines();
        return;
    }
    bool stillThere = chipLines_.size() >= held_->lines.size();
    for (std::size_t i = 0; stillThere && i < held_->lines.size(); ++i)
        stillThere = recordColumns(chipLines_[i]) == recordColumns(held_->lines[i]);
    if (stillThere) {
        trace("Held lines read again");
        held_.reset();
        return;
    }
    // Cleared after all: the held lines go in ahead of this chip's, already settled.
    std::filesystem::resize_file(uploadFile_, committedSize_);
    storeHeldLines();
    for (const std::string& line : chipLines_)
        appendClockingLine(uploadFile_, line);
}

void CommsSession::storeHeldLines() {
    trace("Held lines stored " + std::to_string(held_->lines.size()));
    if (!downloadPending_)
        startUpload();
    for (const std::string& line : held_->lines)
        appendClockingLine(uploadFile_, line);
    commitUploadFile();
    held_.reset();
}

void CommsSession::keepUploadAtEnd() {
    if (downloadPending_) {
        downloadPending_ = false;
        if (fileExists(uploadFile_) && std::filesystem::file_size(uploadFile_) > committedSize_)
            std::filesystem::resize_file(uploadFile_, committedSize_);
        if (committedSize_ <= headerSize_ && !held_)
            appendLine(uploadFile_, "Done");
    }
    if (!held_)
        return;
    const std::filesystem::path file = rawUploadFile(s_.programDir);
    const bool unprocessed =
        fileExists(file) && !readLines(file).empty() && readLines(file).back() != "Done";
    if (!unprocessed)
        replaceFileLines(file, {held_->header});
    for (const std::string& line : held_->lines)
        appendClockingLine(file, line);
    held_.reset();
}

} // namespace kestrova
