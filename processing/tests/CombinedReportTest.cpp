#include "ProcessingFixture.h"
#include "processing/PdfprintReport.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

const std::string kRange = "From 08:00:00 01/03/2024 to 17:00:00 05/03/2024";

class Combined : public ProcessingTest {
protected:
    Combined() {
        site("Alpha", {"0000A1 = Front gate", "0000A2 # Back door"});
        site("Beta", {"0000B1 = Boiler room"});
        loadSites();
        context.settings.update([&](Settings& s) { s.generateFrequencyReport = false; });
        desk.documents.pdfProgram = "viewer";
    }
    ProcessResult request(const std::string& header) {
        return ProcessUpload(services, upload({header + kRange, clocking("0000A2", "2403051405"),
                                               clocking("0000B1", "2403051410"), "Done"}));
    }
};

TEST_F(Combined, EverySiteSectionGoesIntoOneTextAndOnePdf) {
    context.settings.update([&](Settings& s) { s.secureReports = true; });
    const ProcessResult result = request("Id : ");
    EXPECT_TRUE(result.combined);
    EXPECT_EQ(readFile(dir / "Processed.txt"),
              "Kestrova\r\n\r\nSite : Alpha\r\n\r\n"
              "Report of Kestrova Data processed on 05/03/2024 13:00:00\r\n" +
                  kRange +
                  "\r\n\r\nDate       Time   Id Number  Location\r\n"
                  "----------\r\n"
                  "2024/03/05 14:05  (0000A2)   Back door\r\n"
                  "\r\nEnd of File\r\nReport compiled by Kestrova uploader Ver  5.28l\r\n"
                  "www.kestrova.example\r\n"
                  "\r\n   ---   ---   ---   ---   ---   ---   ---   ---\r\n\r\n"
                  "Kestrova\r\n\r\nSite : Beta\r\n\r\n"
                  "Report of Kestrova Data processed on 05/03/2024 13:00:00\r\n" +
                  kRange +
                  "\r\n\r\nDate       Time   Id Number  Location\r\n"
                  "2024/03/05 14:10  (0000B1)   Boiler room\r\n"
                  "\r\nEnd of File\r\nReport compiled by Kestrova uploader Ver  5.28l\r\n"
                  "www.kestrova.example\r\n");
    EXPECT_EQ(pdf.calls, (std::vector<std::string>{
                             "begin|M171 Kestrova|www.kestrova.example   Ver 5.28l|Alpha",
                             "row|2024/03/05|14:05|Back door|#",
                             "section|M171 Kestrova|www.kestrova.example   Ver 5.28l|Beta",
                             "row|2024/03/05|14:10|Boiler room", "save|Report.pdf"}));
    EXPECT_EQ(result.reports, (std::vector<fs::path>{dir / "Processed.txt", dir / "Report.pdf"}));
    EXPECT_EQ(desk.documents.opened, std::vector<fs::path>{dir / "Report.pdf"});
    // No per-site reports and no admin-log entries for a request.
    EXPECT_FALSE(fs::exists(dir / "Alpha" / "03051407.txt"));
    EXPECT_FALSE(fs::exists(context.adminLog.fileFor(desk.clock.time)));
}

TEST_F(Combined, WithoutSecureReportsTheTextIsOpened) {
    request("Id : ");
    EXPECT_EQ(desk.documents.opened, std::vector<fs::path>{dir / "Processed.txt"});
    EXPECT_FALSE(fs::exists(dir / "Report.pdf"));
}

TEST_F(Combined, SortedRequestsSayItAndHaveNoSeparators) {
    request("Ids: ");
    const std::string text = readFile(dir / "Processed.txt");
    EXPECT_NE(text.find(kRange + "\r\nSorted by Id Number\r\n\r\nDate"), std::string::npos);
    EXPECT_EQ(text.find("----------"), std::string::npos);
    EXPECT_EQ(pdf.calls.at(1), "row|2024/03/05|14:05|Back door");
}

TEST_F(Combined, NoSectionMeansNoPdfToShow) {
    context.settings.update([&](Settings& s) { s.secureReports = true; });
    writeFile(dir / "Report.pdf", "an older report");
    ProcessUpload(services, upload({"Id : " + kRange, "Done"}));
    EXPECT_EQ(desk.dialogs.information, std::vector<std::string>{"M150"});
    EXPECT_TRUE(desk.documents.opened.empty());
    EXPECT_EQ(readFile(dir / "Report.pdf"), "an older report");
}

struct HeaderCase {
    const char* name;
    std::string header;
    bool request;
};

void PrintTo(const HeaderCase& row, std::ostream* out) {
    *out << row.name;
}

class Headers : public Combined, public ::testing::WithParamInterface<HeaderCase> {};

// A baton's header ("Id : " and its name, with the checkpoint delay when it reports one) gives
// reports per site and admin-log entries; a request of the Reports window one combined report.
TEST_P(Headers, ARequestIsToldFromABatonByItsForm) {
    const HeaderCase& row = GetParam();
    state.setLabelText(Label::Id, "Id : BATON7");
    const ProcessResult result =
        ProcessUpload(services, upload({row.header, clocking("0000B1", "2403051410"), "Done"}));
    EXPECT_EQ(result.combined, row.request);
    EXPECT_EQ(fs::exists(dir / "Processed.txt"), row.request);
    EXPECT_EQ(fs::exists(dir / "Beta" / "03051407.txt"), !row.request);
    EXPECT_EQ(fs::exists(dir / "Beta" / "03051407.pdf"), !row.request);
    EXPECT_EQ(fs::exists(context.adminLog.fileFor(desk.clock.time)), !row.request);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Headers,
    ::testing::Values(HeaderCase{"Baton", "Id : BATON7", false},
                      HeaderCase{"BatonWithDelay", "Id : KEST0001   Dly : 5", false},
                      HeaderCase{"LongestNameWithDelay", "Id : ABCDEFGH   Dly : 255", false},
                      HeaderCase{"SixteenCharacters", "Id : 1234567890123456", false},
                      HeaderCase{"ClockingList", "Id : " + kRange, true},
                      HeaderCase{"SortedByCheckpoint", "Ids: " + kRange, true},
                      HeaderCase{"Overview", "Idx: " + kRange, true},
                      HeaderCase{"OtherLanguage",
                                 "Id : Van 08:00:00 1-3-2024 tot 17:00:00 5-3-2024", true}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrova::testing

namespace kestrova::testing {
namespace {

TEST_F(Combined, TheDrawnReportPdfHoldsEverySectionOnItsOwnPage) {
    pdf::PdfPrint print(desk.clock, desk.locale);
    print.PdfSetMessages(context.messages.range(1, pdf::PdfPrint::kMessageCount));
    PdfprintReport drawn(print);
    ProcessingServices real{context, state, chooser, drawn};
    context.settings.update([&](Settings& s) { s.secureReports = true; });
    ProcessUpload(real, upload({"Id : " + kRange, clocking("0000A2", "2403051405"),
                                clocking("0000B1", "2403051410"), "Done"}));
    const std::string bytes = readFile(dir / "Report.pdf");
    EXPECT_TRUE(bytes.starts_with("%PDF-1.2"));
    EXPECT_NE(bytes.find("(Alpha)"), std::string::npos);
    EXPECT_NE(bytes.find("(Beta)"), std::string::npos);
    EXPECT_NE(bytes.find("/Count 2"), std::string::npos);
}

} // namespace
} // namespace kestrova::testing
