// The settings reader and writer on any bytes as "Kestrova.ini". A write of one entry must be
// read back as written, whatever the other lines hold.
#include "core/Errors.h"
#include "core/Settings.h"
#include "core/testing/FakeDesktop.h"
#include "fuzz/FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova;
    const auto& dir = fuzz::scratchDirectory();
    fuzz::writeBytes(dir / "Kestrova.ini", data, size);
    SettingsFile file(dir);
    testing::FakeDocuments documents;
    Settings settings;
    try {
        file.LoadSettings(settings, documents, nullptr);
    } catch (const ConversionError&) {
        // A DefaultReport or DefaultSite that is not a number: the user is told.
    }
    file.SetSetting("ReportHeader", "Fuzzed=Header");
    if (file.value("reportheader") != "Fuzzed=Header")
        std::abort();
    return 0;
}
