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
        context.settings.generateFrequencyReport = false;
        desk.documents.pdfProgram = "viewer";
    }
    ProcessResult request(const std::string& header) {
        return ProcessUpload(services, upload({header + kRange, clocking("0000A2", "2403051405"),
                                               clocking("0000B1", "2403051410"), "Done"}));
    }
};

TEST_F(Combined, EverySiteSectionGoesIntoOneTextAndOnePdf) {
    context.settings.secureReports = true;
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
    context.settings.secureReports = true;
    writeFile(dir / "Report.pdf", "an older report");
    ProcessUpload(services, upload({"Id : " + kRange, "Done"}));
    EXPECT_EQ(desk.dialogs.information, std::vector<std::string>{"M150"});
    EXPECT_TRUE(desk.documents.opened.empty());
    EXPECT_EQ(readFile(dir / "Report.pdf"), "an older report");
}

TEST_F(Combined, AShortHeaderIsABatonNotARequest) {
    const ProcessResult result = ProcessUpload(
        services, upload({"Id : 1234567890123456", clocking("0000B1", "2403051410"), "Done"}));
    EXPECT_FALSE(result.combined);
    EXPECT_TRUE(fs::exists(dir / "Beta" / "03051407.txt"));
}

} // namespace
} // namespace kestrova::testing

namespace kestrova::testing {
namespace {

TEST_F(Combined, TheDrawnReportPdfHoldsEverySectionOnItsOwnPage) {
    pdf::PdfPrint print(desk.clock, desk.locale);
    print.PdfSetMessages(context.messages.range(1, pdf::PdfPrint::kMessageCount));
    PdfprintReport drawn(print);
    ProcessingServices real{context, state, chooser, drawn};
    context.settings.secureReports = true;
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
