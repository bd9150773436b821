// CSV fields as RFC 4180 quotes them, in UTF-8, with formulas defused; the file's frame.
#include "processing/CsvExport.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(CsvExport, Fields) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"North Gate", "North Gate"},
        {"", ""},
        {"Gate, east", "\"Gate, east\""},
        {"the \"old\" gate", "\"the \"\"old\"\" gate\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"}, // Windows-1252 é and the euro sign
        {"=1+2", "'=1+2"},
        {"-- Back --", "'-- Back --"},
        {"+44", "'+44"},
        {"@sum", "'@sum"},
        {"=a,b", "\"'=a,b\""},
        {"a=b", "a=b"},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(csvField(text), field) << text;
}

TEST(CsvExport, DocumentHasTheMarkTheHeaderAndCrLfRows) {
    EXPECT_EQ(csvDocument({"Date", "Site"}, {{"2024-03-05", "A, B"}, {"2024-03-06", "C"}}),
              "\xEF\xBB\xBF"
              "Date,Site\r\n2024-03-05,\"A, B\"\r\n2024-03-06,C\r\n");
}

TEST(CsvExport, IsoDatesAndTimes) {
    EXPECT_EQ(isoDate(2024, 3, 5), "2024-03-05");
    EXPECT_EQ(isoTime(7, 5), "07:05:00");
}

} // namespace
} // namespace kestrova
