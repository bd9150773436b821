#include "core/SystemCheck.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/HelpDocuments.h"
#include "core/Preferences.h"
#include "core/ProductInfo.h"
#include "core/TextFile.h"

#include <array>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kIndent = "  ";

class CheckWriter {
public:
    CheckWriter(const MessageTable& messages, std::vector<std::string>& lines)
        : messages_(messages), lines_(lines) {}

    std::string message(int number) const { return messages_.MessageText(number); }
    void heading(int number) { lines_.push_back(message(number)); }
    void line(const std::string& text) { lines_.push_back(std::string(kIndent) + text); }
    // "  <name>..." followed by message 131 when the file exists and 132 when it does not.
    void presence(const fs::path& dir, std::string_view name) {
        const bool present = fileExists(resolveInDirectory(dir, name));
        line(std::string(name) + "..." + message(present ? 131 : 132));
    }

private:
    const MessageTable& messages_;
    std::vector<std::string>& lines_;
};

NewVersionLink checkVersion(const SystemCheckInputs& in, CheckWriter& out) {
    out.heading(125);
    const fs::path target = in.programDir / kVersionDownloadFile;
    Lines version;
    bool downloaded = false;
    try {
        downloaded = in.downloader.download(kVersionFileAddress, target);
        if (downloaded)
            version = readLines(target);
    } catch (const std::exception&) {
        downloaded = false;
    }
    if (!downloaded) {
        out.line(out.message(129));
        return {};
    }
    auto lineAt = [&](std::size_t i) { return i < version.size() ? version[i] : std::string(); };
    NewVersionLink link{true, {}};
    if (lineAt(0) == kBuildDate)
        link.text = out.message(126);
    else
        link.text = out.message(127) + " " + lineAt(1) + " " + out.message(128);
    out.line(link.text);
    return link;
}

void checkWriting(const SystemCheckInputs& in, CheckWriter& out) {
    out.heading(130);
    try {
        const fs::path test = in.programDir / kWriteCheckFile;
        replaceFileLines(test, {"Kestrova Test"});
        if (std::error_code error; !fs::remove(test, error) || error)
            throw makeIoError("Cannot delete file", test);
        const fs::path settings = in.settingsFile.path();
        if (fileExists(settings)) {
            replaceFileLines(test, readLines(settings));
            // Written back through the settings file's own lock, so a port number the comms
            // thread stores at this moment is neither lost nor torn.
            in.settingsFile.SetSettings({});
        }
        out.line(out.message(131));
    } catch (const std::exception&) {
        out.line(out.message(132));
    }
}

void checkLanguages(const SystemCheckInputs& in, CheckWriter& out) {
    out.heading(133);
    std::vector<std::string> names;
    try {
        names = ListLanguageFiles(in.programDir);
    } catch (const std::exception&) {
        // An unreadable directory lists no language.
    }
    for (const auto& name : names)
        out.line(out.message(134) + " " + name);
}

void checkPdfProgram(const SystemCheckInputs& in, CheckWriter& out) {
    out.heading(135);
    bool found = false;
    try {
        found = !FindPdfViewer(in.programDir, in.documents).empty();
    } catch (const std::exception&) {
        found = false;
    }
    if (found) {
        out.line(out.message(136));
    } else {
        out.line(out.message(137));
        out.line(std::string(kPdfReaderHelpAddress));
    }
}

} // namespace

SystemCheckResult RunSystemCheck(const SystemCheckInputs& in) {
    SystemCheckResult result;
    CheckWriter out(in.messages, result.lines);

    result.newVersion = checkVersion(in, out);
    checkWriting(in, out);
    checkLanguages(in, out);
    checkPdfProgram(in, out);

    out.heading(138);
    for (const auto name : {kInstallGuide, kBasicHelp, kAdvancedHelp})
        out.presence(in.programDir, name);

    out.heading(139);
    for (const std::string_view name : {"logo.gif", "logobig.gif"})
        out.presence(in.programDir, name);

    out.heading(140);
    if (in.stationLampRed)
        out.line(out.message(141));
    else
        out.line(out.message(142) + " " + std::to_string(in.stationPort));

    result.lines.push_back(out.message(143));
    return result;
}

} // namespace kestrova
