// Builds one help document: make_help_pdf SOURCE.txt TARGET.pdf. Run by the build for every
// source of help/texts.
#include "core/TextFile.h"
#include "help/HelpDocument.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_help_pdf SOURCE.txt TARGET.pdf\n";
        return 2;
    }
    try {
        const std::string source = kestrova::readFileBytes(argv[1]);
        kestrova::replaceFile(argv[2],
                              kestrova::help::RenderHelpPdf(kestrova::help::ParseHelpText(source)));
    } catch (const std::exception& error) {
        std::cerr << argv[1] << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
