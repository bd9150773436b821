#include "core/testing/FakeDesktop.h"

#include "core/TextFile.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

namespace kestrova::testing {
namespace fs = std::filesystem;

bool FakeDialogs::confirm(const std::string& text) {
    confirmations.push_back(text);
    if (confirmAnswers.empty())
        return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeDialogs::inputLine(const std::string& title,
                                                  const std::string& prompt,
                                                  const std::string& initial) {
    inputRequests.push_back({title, prompt, initial});
    // A prompt nobody answered is a fault of the test; failing beats looping for ever.
    if (inputAnswers.empty())
        throw std::logic_error("unexpected input dialog: " + prompt);
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::optional<fs::path> FakeDialogs::openFile(const FileDialogRequest& request) {
    return answerFile(false, request);
}

std::optional<fs::path> FakeDialogs::saveFile(const FileDialogRequest& request) {
    return answerFile(true, request);
}

std::optional<fs::path> FakeDialogs::chooseFolder(const FileDialogRequest& request) {
    folderRequests.push_back(request);
    if (folderAnswers.empty())
        return std::nullopt;
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<fs::path> FakeDialogs::answerFile(bool save, const FileDialogRequest& request) {
    fileRequests.push_back({save, request});
    if (fileAnswers.empty())
        return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::string FakeDocuments::programFor(const std::string&) {
    if (lookupFails)
        throw std::runtime_error("file type lookup failed");
    return pdfProgram;
}

namespace {
std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}
} // namespace

std::string FakeLocale::shortDate(const LocalDateTime& t) const {
    return twoDigits(t.day) + "/" + twoDigits(t.month) + "/" + std::to_string(t.year);
}

std::string FakeLocale::longTime(const LocalDateTime& t) const {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

bool FakeTrash::moveToTrash(const fs::path& item) {
    if (!succeed)
        return false;
    trashed.push_back(item);
    fs::remove_all(item);
    return true;
}

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = fs::temp_directory_path() / ("kestrova-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write test file " + file.string());
}

std::string readFile(const fs::path& file) {
    return readFileBytes(file);
}

} // namespace kestrova::testing
