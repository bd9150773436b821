// Id buttons read at the station while no checkpoint editor takes them (the command line):
// each new id goes into the default site's checkpoint list as "Unknown checkpoint", as the
// editor adds it, with the same admin-log entry. Standard library only.
#pragma once

#include "core/AdminLog.h"
#include "core/MessageTable.h"
#include "link/HandOver.h"

#include <filesystem>
#include <string>

namespace kestrova {

class DefaultSiteIdButtons : public IdButtonSink {
public:
    // `site` is the default site's name; empty when there is none (then buttons are ignored).
    DefaultSiteIdButtons(std::filesystem::path programDir, std::string site,
                         const MessageTable& messages, AdminLog& adminLog);

    void IdButtonRead(const std::string& id) override;

private:
    std::filesystem::path programDir_;
    std::string site_;
    const MessageTable& messages_;
    AdminLog& adminLog_;
};

} // namespace kestrova
