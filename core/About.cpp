#include "core/About.h"

#include "core/FileNames.h"
#include "core/HelpDocuments.h"
#include "core/ProductInfo.h"
#include "core/Settings.h"

namespace kestrova {

namespace {

// A window title shows no keyboard accelerators: "&About" reads "About".
std::string withoutAccelerators(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i; // "&&" keeps one "&", "&A" keeps "A"
        out += text[i];
    }
    return out;
}

} // namespace

std::vector<AboutText> AboutTexts(const MessageTable& messages) {
    auto message = [&](int number, std::string_view formText) {
        std::string text = messages.MessageText(number);
        return text.empty() ? std::string(formText) : text;
    };
    return {
        {"", withoutAccelerators(message(145, "About"))},
        {"Label1", message(9, "Version   ")},
        {"lblVer", std::string(kVersionText)},
        {"Label11", message(144, "Build date") + " " + std::string(kBuildDate)},
        {"Label4", message(115, "Local help files")},
        {"Label8", message(116, "Installation guide")},
        {"Label9", std::string(kInstallGuide)},
        {"Label16", message(117, "Basic troubleshooting")},
        {"Label17", std::string(kBasicHelp)},
        {"Label14", message(118, "Hints and tips")},
        {"Label15", std::string(kAdvancedHelp)},
        {"Label13", message(119, "Online help ")},
        {"Label3", std::string(kOnlineHelpAddress)},
        {"Label2", message(120, "If your Upload Station is not working click here to re-install "
                                "the serial drivers")},
        {"GroupBox1", message(123, "System check")},
        {"Button2", message(121, "Run check")},
        {"Label5", message(122, "New vesion available")},
    };
}

DocumentLinkAction DocumentLink(const std::filesystem::path& programDir, DocumentOpener& documents,
                                const MessageTable& messages, std::string_view document) {
    bool found = false;
    try {
        found = !FindPdfViewer(programDir, documents).empty();
    } catch (const std::exception&) {
        found = false;
    }
    if (found)
        return {resolveInDirectory(programDir, document), std::nullopt};
    return {std::nullopt, messages.MessageText(137) + "\r" + std::string(kPdfReaderHelpAddress)};
}

} // namespace kestrova
