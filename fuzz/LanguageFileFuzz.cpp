// The language file loader on any bytes.
#include "core/CaptionTable.h"
#include "core/LanguageFile.h"
#include "core/MessageTable.h"
#include "core/TraceLog.h"
#include "core/testing/FakeDesktop.h"
#include "fuzz/FuzzSupport.h"

namespace {
class NoTrace : public kestrova::TraceSink {
public:
    void WriteTrace(const std::string&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova;
    const auto file = fuzz::scratchDirectory() / "Fuzz.lng";
    fuzz::writeBytes(file, data, size);
    MessageTable messages;
    messages.SetDefaultMessages();
    CaptionTable captions;
    testing::FakeDialogs dialogs;
    NoTrace trace;
    LoadLanguageFile(file, messages, captions, dialogs, trace, {});
    return 0;
}
