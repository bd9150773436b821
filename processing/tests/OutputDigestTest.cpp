// Every byte an upload run and a report request write, pinned by a digest per file: day files,
// reports, PDFs, checkpoint lists, the admin log and the upload file. Changes made for speed
// must leave all of them as they are; a change of the output itself updates the digests here,
// on purpose and visibly.
#include "ProcessingFixture.h"
#include "core/testing/Digest.h"
#include "core/testing/WriteFaults.h"
#include "pdf/pdfprint.h"
#include "processing/PdfprintReport.h"

#include <cstdint>
#include <cstdio>
#include <map>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> digests(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& [name, bytes] : snapshotFiles(dir))
        out[name] = digestOf(bytes);
    return out;
}

std::string id(int site, int point) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%04X", site, point);
    return text;
}

class OutputDigest : public ProcessingTest {
protected:
    OutputDigest() {
        for (int s = 0; s < 5; ++s) {
            std::vector<std::string> lines;
            for (int p = 0; p < 12; ++p)
                lines.push_back(id(s, p) + (p == 3 ? " # " : " = ") + "Point " + std::to_string(p) +
                                " caf\xE9 (" + std::to_string(s) + ")");
            site(s == 4 ? "Common" : "Site" + std::to_string(s), lines);
        }
        writeFile(dir / "Site1" / "Raw" / "240305.txt", "000000" + id(1, 1) + "2403050700\r\n");
        loadSites();
        context.settings.update([](Settings& s) { s.secureReports = true; });
        desk.documents.pdfProgram = "viewer";
        print.PdfSetMessages(context.messages.range(1, pdf::PdfPrint::kMessageCount));
    }

    // Clockings over every site, with unit records, hour marks, corrupt records, a step back in
    // time, duplicates and ids no site lists.
    Lines uploadLines() const {
        Lines lines = {"Id : KEST0001   Dly : 5"};
        int minute = 0;
        for (int k = 0; k < 1500; ++k) {
            const int s = (k / 40) % 5;
            const int p = (k * 7) % 13; // 12 is no checkpoint of the site
            const int day = 5 + minute / (24 * 60);
            const int hour = (minute / 60) % 24;
            char when[32];
            std::snprintf(when, sizeof when, "2403%02d%02d%02d", day, hour, minute % 60);
            std::string w = when;
            if (k % 97 == 0)
                lines.push_back(clocking("001234", w.substr(0, 8) + "85", k % 100));
            if (k % 89 == 0)
                w[6] = static_cast<char>('8' + (k % 2) * 4); // hour marks
            if (k % 151 == 0)
                w[9] = 'X'; // corrupt
            lines.push_back(clocking(id(s, p), w, k % 100));
            if (k % 53 == 0)
                lines.push_back(clocking(id(s, p), w, k % 100)); // duplicate
            if (k % 211 == 0)
                lines.push_back(clocking("FFFF" + std::to_string(10 + k % 10), w, 1));
            minute += (k == 700) ? -30 : 3;
        }
        // Marked done already: the reports print the upload file's time, which the marker
        // would change.
        lines.emplace_back("Done");
        return lines;
    }

    pdf::PdfPrint print{desk.clock, desk.locale};
    PdfprintReport drawn{print};
    ProcessingServices real{context, state, chooser, drawn};
};

TEST_F(OutputDigest, EveryFileOfAnUploadAndARequestIsAsBefore) {
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        placement.placeInExistingSite(2);
    };
    upload(uploadLines());
    DoRaw(real);
    upload(uploadLines()); // the same minute: every report gets a second one appended
    DoRaw(real);
    context.settings.update([](Settings& s) { s.generateFrequencyReport = false; });
    Lines request = uploadLines();
    request[0] = "Ids: From 00:00:00 05/03/2024 to 23:59:59 07/03/2024";
    upload(request);
    ProcessUpload(real, dir / "Raw.txt");

    const std::map<std::string, std::string> expected = {
        {"Common/checkpt.lst", "2a5a7b894158ce29"},
        {"LG202403.txt", "fc3cc1db30a060bd"},
        {"Processed.txt", "1f0bd89b7e64e9cc"},
        {"Raw.txt", "a80a226365ec42e3"},
        {"Report.pdf", "dabff925bef5b01d"},
        {"Site0/03051407.pdf", "fb9cda3af092972d"},
        {"Site0/03051407.txt", "4acdbbc71540596a"},
        {"Site0/Raw/240305.txt", "8e345a425edf6d31"},
        {"Site0/Raw/240306.txt", "255b23c8465be10d"},
        {"Site0/Raw/240307.txt", "8ec7b9b7e9e0c23d"},
        {"Site0/checkpt.lst", "5a34432ca689df69"},
        {"Site1/03051407.pdf", "012be54778cfd829"},
        {"Site1/03051407.txt", "17c69457b52b6f10"},
        {"Site1/Raw/240305.txt", "9b310c77dcbd6b2e"},
        {"Site1/Raw/240306.txt", "72f68a117c05aefa"},
        {"Site1/Raw/240307.txt", "6f090c0cfcd62403"},
        {"Site1/Raw/240308.txt", "36da3cca64e8294c"},
        {"Site1/checkpt.lst", "7bc7811a39192e2b"},
        {"Site2/03051407.pdf", "8a16a985a701e294"},
        {"Site2/03051407.txt", "72fe204de1c86876"},
        {"Site2/Raw/240305.txt", "20ca81e8e6fda9c1"},
        {"Site2/Raw/240306.txt", "2965b472d0990909"},
        {"Site2/Raw/240307.txt", "15ba3a149c366eb5"},
        {"Site2/Raw/240308.txt", "ccafdef273a81ddd"},
        {"Site2/checkpt.lst", "b316be1164697173"},
        {"Site3/03051407.pdf", "5c37eb17a0c16d73"},
        {"Site3/03051407.txt", "7dc2c3e3c142bb5e"},
        {"Site3/Raw/240305.txt", "801c16ea8e964fd5"},
        {"Site3/Raw/240306.txt", "486e8faa6e910925"},
        {"Site3/Raw/240307.txt", "e18d8478adc71c31"},
        {"Site3/checkpt.lst", "b495abf9f36ad97a"},
        {"checkpt.$$$", "7bc7811a39192e2b"},
        {"empty.txt", "cbf29ce484222325"},
    };
    EXPECT_EQ(digests(dir.path()), expected);
}

} // namespace
} // namespace kestrova::testing
