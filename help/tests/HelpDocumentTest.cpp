// The help documents: the source form is taken apart as written, the PDF is read by real
// clients (qpdf finds no fault, pdftotext gives the text back in reading order), and every
// document the program names is built. The tool checks skip only when a tool is not on PATH.
#include "help/HelpDocument.h"

#include "core/HelpDocuments.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/tests/PdfTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrova::help {
namespace {

namespace fs = std::filesystem;
using kestrova::testing::TempDir;
using kestrova::testing::writeFile;
using pdf::testing::RunCommand;
using pdf::testing::ToolOnPath;
using ::testing::ElementsAre;
using Kind = HelpBlock::Kind;

#define SKIP_WITHOUT_TOOL(tool)                                                                    \
    do {                                                                                           \
        if (!ToolOnPath(tool))                                                                     \
            GTEST_SKIP() << (tool) << " not found on PATH";                                        \
    } while (false)

std::string quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

void expectQpdfClean(const fs::path& file) {
    std::string output;
    EXPECT_EQ(RunCommand("qpdf --check " + quote(file), output), 0) << output;
    EXPECT_NE(output.find("No syntax or stream encoding errors found"), std::string::npos)
        << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
}

std::string pdfToText(const fs::path& file) {
    std::string output;
    EXPECT_EQ(RunCommand("pdftotext " + quote(file) + " -", output), 0) << output;
    return output;
}

// The words of a text, in order.
std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\f' || c == '\t') {
            if (!word.empty())
                out.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        out.push_back(word);
    return out;
}

int pageCount(const fs::path& file) {
    std::string output;
    RunCommand("qpdf --show-npages " + quote(file), output);
    return std::stoi(output);
}

TEST(HelpTextTest, SourceFormIsTakenApartAsWritten) {
    const auto text =
        ParseHelpText("# Title here\r\nA subtitle\r\n\r\n## First part\r\n"
                      "One line\r\ncontinued here.\r\n\r\nA second paragraph.\r\n"
                      "- a bullet\r\n- another\r\nafter the bullets\r\n> make it\r\n## Last");
    EXPECT_EQ(text.title, "Title here");
    EXPECT_EQ(text.subtitle, "A subtitle");
    EXPECT_THAT(text.blocks,
                ElementsAre(HelpBlock{Kind::Heading, "First part"},
                            HelpBlock{Kind::Paragraph, "One line continued here."},
                            HelpBlock{Kind::Paragraph, "A second paragraph."},
                            HelpBlock{Kind::Bullet, "a bullet"}, HelpBlock{Kind::Bullet, "another"},
                            HelpBlock{Kind::Paragraph, "after the bullets"},
                            HelpBlock{Kind::Command, "make it"}, HelpBlock{Kind::Heading, "Last"}));
}

TEST(HelpTextTest, NoSubtitleWhenASectionFollowsTheTitle) {
    const auto text = ParseHelpText("# T\n## S\nbody");
    EXPECT_EQ(text.subtitle, "");
    EXPECT_THAT(text.blocks,
                ElementsAre(HelpBlock{Kind::Heading, "S"}, HelpBlock{Kind::Paragraph, "body"}));
}

TEST(HelpTextTest, SourceWithoutTitleIsRefused) {
    EXPECT_THROW(ParseHelpText("## Heading only\nbody"), std::invalid_argument);
    EXPECT_THROW(ParseHelpText(""), std::invalid_argument);
}

TEST(HelpPdfTest, LongTextFlowsOverPagesAndReadsBackInOrder) {
    SKIP_WITHOUT_TOOL("qpdf");
    SKIP_WITHOUT_TOOL("pdftotext");
    // Numbered words make any lost, doubled or reordered word visible.
    std::string source = "# Flow test\nSubtitle line\n";
    for (int section = 1; section <= 12; ++section) {
        source += "## Section " + std::to_string(section) + "\n";
        for (int w = 1; w <= 90; ++w)
            source += "w" + std::to_string(section) + "x" + std::to_string(w) + " ";
        source += "\n- bullet" + std::to_string(section) + " with text\n> command" +
                  std::to_string(section) + " --option\n\n";
    }
    const std::string longWord =
        "averyveryverylongwordthatcannotbebrokenanywhereatallbecauseithasnospaceswhatsoever"
        "andgoesonandonbeyondthewholelinewidthofthepage";
    source += longWord + " end";
    TempDir dir;
    const fs::path file = dir / "flow.pdf";
    writeFile(file, RenderHelpPdf(ParseHelpText(source)));

    expectQpdfClean(file);
    EXPECT_GE(pageCount(file), 2);
    const auto got = words(pdfToText(file));
    std::vector<std::string> expected;
    for (const auto& w : words(source))
        if (w != "#" && w != "##" && w != "-" && w != ">" && w != longWord)
            expected.push_back(w);
    // Every word of the source comes back in order; footers and bullets may stand between.
    std::size_t at = 0;
    for (const auto& w : expected) {
        while (at < got.size() && got[at] != w)
            ++at;
        ASSERT_LT(at, got.size()) << "word \"" << w << "\" lost or out of order";
        ++at;
    }
    // Running text stays above the bottom margin: nothing stands between it and the footer
    // (pdftotext -bbox gives each word's box, y counted down from the top of the page).
    std::string boxes;
    ASSERT_EQ(RunCommand("pdftotext -bbox " + quote(file) + " -", boxes), 0);
    for (std::size_t box = boxes.find("yMax=\""); box != std::string::npos;
         box = boxes.find("yMax=\"", box + 1)) {
        const double yMax = std::stod(boxes.substr(box + 6));
        EXPECT_FALSE(yMax > 780 && yMax < 795) << "a word in the bottom margin, yMax " << yMax;
    }
    // The overlong word is cut over lines, none of it lost off the page's edge.
    std::string joined;
    for (const auto& w : got)
        joined += w;
    EXPECT_NE(joined.find(longWord), std::string::npos) << joined;
}

TEST(HelpPdfTest, SameSourceGivesTheSameBytes) {
    const auto text = ParseHelpText("# Same\n\nBody text.");
    EXPECT_EQ(RenderHelpPdf(text), RenderHelpPdf(text));
}

class BuiltHelpDocumentTest : public ::testing::TestWithParam<std::string_view> {};

TEST_P(BuiltHelpDocumentTest, IsBuiltCleanAndReadable) {
    SKIP_WITHOUT_TOOL("qpdf");
    SKIP_WITHOUT_TOOL("pdftotext");
    const fs::path file = fs::path(KESTROVA_HELP_DIR) / std::string(GetParam());
    ASSERT_TRUE(fileExists(file)) << file;
    expectQpdfClean(file);
    const std::string text = pdfToText(file);
    EXPECT_NE(text.find("Kestrova uploader"), std::string::npos) << text;
    EXPECT_GT(words(text).size(), 100u) << text;
}

INSTANTIATE_TEST_SUITE_P(Shipped, BuiltHelpDocumentTest, ::testing::ValuesIn(kHelpDocuments),
                         [](const auto& row) {
                             std::string name(row.param);
                             return name.substr(0, name.find('.'));
                         });

} // namespace
} // namespace kestrova::help
