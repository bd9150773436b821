// Helpers of the pdf tests: reading a document's pages back from the object model, and a small
// interpreter of the content streams the writer produces, so that layout tests can speak of
// texts, rectangles and lines at positions instead of raw operator lines.
#pragma once

#include "pdf/PdfDoc.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrova::pdf::testing {

// Runs `action` and checks that it throws `Exception` with exactly `message`.
template <typename Exception, typename Action>
void ExpectThrowWithMessage(Action action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), message);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "wrong exception type: " << e.what();
    }
}

// The page dictionaries of the open document, in page order.
std::vector<TPdfDictionary*> PageDictionaries(TPdfDoc& doc);
// The content stream bytes of each page.
std::vector<std::string> PageContents(TPdfDoc& doc);
// Lines of a content stream (split at LF).
std::vector<std::string> ContentLines(const std::string& content);

struct Rgb {
    double r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
// A writer colour (lowest byte red) as the components the writer writes, rounded like it.
Rgb ToRgb(int colour);

struct PlacedText {
    double x = 0, y = 0;
    std::string text; // unescaped
    std::string font; // resource name, "F4"
    double size = 0;
    Rgb fill;
};

struct FilledRect {
    double x = 0, y = 0, w = 0, h = 0;
    Rgb fill;
};

struct StrokedLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0;
    Rgb stroke;
};

struct PageDrawing {
    std::vector<PlacedText> texts;
    std::vector<FilledRect> rects;
    std::vector<StrokedLine> lines;
    // Rectangles added to a path that was stroked (outlines).
    std::vector<FilledRect> outlinedRects;

    // The texts equal to `text`, in drawing order.
    std::vector<PlacedText> Find(const std::string& text) const;
    bool HasText(const std::string& text) const { return !Find(text).empty(); }
    // Rectangles filled with this colour.
    std::vector<FilledRect> RectsIn(const Rgb& fill) const;
};

// Interprets one content stream; fails the test (gtest ADD_FAILURE) on an unknown operator.
PageDrawing Interpret(const std::string& content);

// Runs a shell command; returns its exit status and fills output with stdout+stderr.
int RunCommand(const std::string& command, std::string& output);
// Whether a program can be found on PATH.
bool ToolOnPath(const std::string& tool);

} // namespace kestrova::pdf::testing
