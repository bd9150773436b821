// Adding Id buttons read at the station to the default site's list.
#include "link/DefaultSiteIdButtons.h"

#include "core/CheckpointList.h"

namespace kestrova {

DefaultSiteIdButtons::DefaultSiteIdButtons(std::filesystem::path programDir, std::string site,
                                           const MessageTable& messages, AdminLog& adminLog)
    : programDir_(std::move(programDir)), site_(std::move(site)), messages_(messages),
      adminLog_(adminLog) {}

void DefaultSiteIdButtons::IdButtonRead(const std::string& id) {
    if (site_.empty())
        return;
    const auto contents = LoadCheckpointList(programDir_, site_);
    for (const Checkpoint& checkpoint : contents.checkpoints)
        if (checkpoint.id == id)
            return;
    const std::string unknown = messages_.MessageText(23);
    adminLog_.WriteAdminLog(site_, "New Id Button Added (" + id + ") " + unknown);
    AppendCheckpoint(programDir_, site_, id, unknown);
}

} // namespace kestrova
