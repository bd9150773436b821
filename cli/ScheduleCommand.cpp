// kestrova-cli schedule SITE [--autocorrect]: the check of the site-settings panel over the
// schedule stored in the site's list, one line per field (name, text, "ok" or "red"), then
// what the panel shows of the warning, AutoCorrect and "Program Next Baton". --autocorrect
// applies AutoCorrect (with "All Days the Same"), saves the list and prints the result.
#include "cli/SiteCommands.h"
#include "cli/SiteEditor.h"

#include <array>

namespace kestrova::cli {

namespace {

constexpr std::array<const char*, kDaysInWeek> kDays = {"Mon", "Tue", "Wed", "Thu",
                                                        "Fri", "Sat", "Sun"};

void printField(std::ostream& out, const std::string& name, const std::string& text,
                FieldColour colour) {
    out << name << '\t' << text << '\t' << (colour == FieldColour::Red ? "red" : "ok") << '\n';
}

void printCheck(std::ostream& out, const ScheduleFields& f, const ScheduleCheckState& s) {
    printField(out, "round", f.roundTime, s.roundField);
    printField(out, "rest", f.restTime, s.restField);
    printField(out, "batons", f.numBatons, s.batonsField);
    printField(out, "type", typeName(f.type), FieldColour::Normal);
    for (std::size_t d = 0; d < kDaysInWeek; ++d)
        printField(out, std::string("start ") + kDays[d], f.start[d], s.startFields[d]);
    for (std::size_t d = 0; d < kDaysInWeek; ++d)
        printField(out, std::string("finish ") + kDays[d], f.finish[d], s.finishFields[d]);
    out << "warning " << (s.warningShown ? "shown" : "hidden") << '\n'
        << "autocorrect " << (s.autoCorrectShown ? "shown" : "hidden") << '\n'
        << "program " << (s.programEnabled ? "enabled" : "disabled") << '\n';
}

} // namespace

int runScheduleCommand(CliSession& session) {
    const auto& args = session.args;
    const bool correct = args.size() == 2 && args[1] == "--autocorrect";
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !correct))
        throw UsageError("schedule takes SITE and optionally --autocorrect");
    SiteEditor site(session, args[0]);
    CheckpointEditor& editor = site.editor();
    if (correct)
        editor.autoCorrect();
    printCheck(session.out, editor.schedule(), editor.scheduleCheck());
    return 0;
}

} // namespace kestrova::cli
