// kestrova-cli process / import. FILE defaults to "Raw.txt" of the program directory; a relative
// FILE is taken from the current directory. The path of every report written is printed, one a
// line, relative to the program directory; messages meant for a message box go to standard
// error; no document is ever opened. Clockings of unknown checkpoints are placed as --unknown
// says, otherwise ignored with a notice on standard error.
#include "cli/ProcessCommand.h"

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/TextFile.h"
#include "pdf/pdfprint.h"
#include "processing/UnknownCheckpointOption.h"
#include "processing/UploadLine.h"
#include "shell/UploadProcessor.h"

namespace kestrova::cli {
namespace fs = std::filesystem;

namespace {

enum class Mode { Process, Import };

struct Arguments {
    std::optional<fs::path> file;
    UnknownCheckpointAnswer answer;
};

Arguments parseArguments(const std::string& command, const std::vector<std::string>& args) {
    Arguments parsed;
    const auto setAnswer = [&](const std::string& value) {
        const auto answer = parseUnknownCheckpointAnswer(value);
        if (!answer)
            throw UsageError(command +
                             ": --unknown takes ignore, existing:SITE or new:SITE, not \"" + value +
                             "\"");
        parsed.answer = *answer;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--unknown") {
            if (i + 1 >= args.size())
                throw UsageError(command + ": --unknown needs a value");
            setAnswer(args[++i]);
        } else if (arg.starts_with("--unknown=")) {
            setAnswer(arg.substr(10));
        } else if (arg.starts_with("--") || parsed.file) {
            throw UsageError(command + ": unexpected argument " + arg);
        } else {
            parsed.file = arg;
        }
    }
    return parsed;
}

// The ident the main window would show for the baton of this upload: its header line.
std::string headerLineOf(const fs::path& file) {
    const Lines lines = readLines(file);
    return !lines.empty() && isHeaderLine(lines.front()) ? lines.front() : std::string();
}

int run(CliSession& session, Mode mode) {
    const std::string command = mode == Mode::Process ? "process" : "import";
    const Arguments arguments = parseArguments(command, session.args);

    CliProgram program(session);
    program.loadSettingsAndMessages();
    program.loadSites();
    ProgramContext& context = program.context();
    if (arguments.answer.kind == UnknownCheckpointAnswer::Kind::ExistingSite &&
        !existingSitePosition(context.sites, arguments.answer.site))
        throw UsageError(command + ": no site named \"" + arguments.answer.site + "\"");

    const fs::path file =
        arguments.file ? fs::absolute(*arguments.file) : defaultUploadFile(context.programDir);
    MainState state;
    state.setIdentText(headerLineOf(file));

    pdf::PdfPrint print(context.desktop.clock, context.desktop.locale);
    AnsweringChooser chooser(arguments.answer, session.err);
    UploadProcessor processor(context, state, chooser, print);

    const ProcessResult result =
        mode == Mode::Process ? processor.doRaw(file) : processor.import(file);
    for (const auto& written : result.reports)
        session.out << written.lexically_relative(context.programDir).generic_string() << '\n';
    return 0;
}

} // namespace

int runProcessCommand(CliSession& session) {
    return run(session, Mode::Process);
}

int runImportCommand(CliSession& session) {
    return run(session, Mode::Import);
}

} // namespace kestrova::cli
