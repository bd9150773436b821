#include "core/About.h"

#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::FakeDocuments;
using testing::TempDir;
using testing::writeFile;

std::string textOf(const std::vector<AboutText>& texts, std::string_view control) {
    for (const auto& t : texts)
        if (t.control == control)
            return t.text;
    ADD_FAILURE() << "no text for " << control;
    return {};
}

TEST(AboutTest, TextsComeFromTheLanguageMessages) {
    MessageTable messages;
    messages.SetDefaultMessages();
    for (int n = 115; n <= 144; ++n)
        messages.setText(n, "M" + std::to_string(n));
    messages.setText(145, "&About");

    const auto texts = AboutTexts(messages);

    EXPECT_EQ(textOf(texts, ""), "About");
    EXPECT_EQ(textOf(texts, "Label1"), "Version :");
    EXPECT_EQ(textOf(texts, "lblVer"), "5.28l");
    EXPECT_EQ(textOf(texts, "Label11"), "M144 14/08/2013");
    EXPECT_EQ(textOf(texts, "Label9"), "Install.pdf");
    EXPECT_EQ(textOf(texts, "Label2"), "M120");
    EXPECT_EQ(textOf(texts, "Label5"), "M122");
    EXPECT_EQ(textOf(texts, "Button2"), "M121");
    EXPECT_EQ(textOf(texts, "GroupBox1"), "M123");
}

TEST(AboutTest, WithoutALanguageFileTheFormTextsStay) {
    MessageTable messages;
    messages.SetDefaultMessages();
    const auto texts = AboutTexts(messages);
    EXPECT_EQ(textOf(texts, ""), "About");
    EXPECT_EQ(textOf(texts, "Button2"), "Run check");
    EXPECT_EQ(textOf(texts, "Label11"), "Build date 14/08/2013");
}

TEST(AboutTest, DocumentLinkOpensWithAPdfProgramAndExplainsWithout) {
    TempDir dir;
    MessageTable messages;
    messages.setText(137, "No PDF reader.");
    FakeDocuments documents;
    writeFile(dir / "basic.PDF", "x");

    const auto none = DocumentLink(dir.path(), documents, messages, "Basic.pdf");
    EXPECT_FALSE(none.open);
    EXPECT_EQ(none.message,
              std::optional<std::string>(
                  "No PDF reader.\rhttps://www.kestrova.example/uploader/pdf-reader"));

    documents.pdfProgram = "viewer";
    const auto found = DocumentLink(dir.path(), documents, messages, "Basic.pdf");
    EXPECT_EQ(found.open, std::optional<std::filesystem::path>(dir / "basic.PDF"));
    EXPECT_FALSE(found.message);

    documents.lookupFails = true;
    EXPECT_TRUE(DocumentLink(dir.path(), documents, messages, "Basic.pdf").message);
}

} // namespace
} // namespace kestrova
