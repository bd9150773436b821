// What a processing run puts right when it ends, also when an error ends it: the busy panel
// goes away, and no temporary bucket file of the program directory stays behind (a bucket
// file left by an earlier program run is removed as well). Standard library only.
#pragma once

#include "core/Desktop.h"

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace kestrova {

class BusyScope {
public:
    explicit BusyScope(BusyIndicator& busy) : busy_(busy) { busy_.setBusy(true); }
    ~BusyScope() { busy_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyIndicator& busy_;
};

class BucketFileCleanup {
public:
    // `siteCount` is asked at the end: a run may add a site.
    BucketFileCleanup(std::filesystem::path programDir, std::function<std::size_t()> siteCount,
                      std::vector<std::string> alsoRemove = {})
        : programDir_(std::move(programDir)), siteCount_(std::move(siteCount)),
          alsoRemove_(std::move(alsoRemove)) {}
    ~BucketFileCleanup() {
        std::error_code ec;
        for (std::size_t n = 0, last = siteCount_(); n <= last; ++n)
            std::filesystem::remove(programDir_ / (std::to_string(n) + ".$$$"), ec);
        for (const auto& name : alsoRemove_)
            std::filesystem::remove(programDir_ / name, ec);
    }
    BucketFileCleanup(const BucketFileCleanup&) = delete;
    BucketFileCleanup& operator=(const BucketFileCleanup&) = delete;

private:
    std::filesystem::path programDir_;
    std::function<std::size_t()> siteCount_;
    std::vector<std::string> alsoRemove_;
};

} // namespace kestrova
