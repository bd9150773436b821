// The unknown-checkpoint window's answer given in advance, as the command line's option
// "--unknown ignore|existing:SITE|new:SITE" states it. Without an answer the clockings are
// ignored, and the caller is told how many and of which ids. Standard library only.
#pragma once

#include "processing/UnknownCheckpoints.h"

#include <optional>
#include <ostream>
#include <string>

namespace kestrova {

struct UnknownCheckpointAnswer {
    enum class Kind { Ignore, ExistingSite, NewSite };
    Kind kind = Kind::Ignore;
    std::string site;
};

// The option's value; none when it is not one of the three forms.
std::optional<UnknownCheckpointAnswer> parseUnknownCheckpointAnswer(const std::string& value);

// The site position of an answer's existing site: its exact name, else the one name that
// equals it without regard to case; none when no site is called so.
std::optional<std::size_t> existingSitePosition(const SiteList& sites, const std::string& name);

class AnsweringChooser : public UnknownCheckpointChooser {
public:
    // Ignored clockings are counted on `notices`.
    AnsweringChooser(UnknownCheckpointAnswer answer, std::ostream& notices)
        : answer_(std::move(answer)), notices_(notices) {}

    void choose(UnknownCheckpointPlacement& placement) override;

private:
    void ignore(UnknownCheckpointPlacement& placement);

    UnknownCheckpointAnswer answer_;
    std::ostream& notices_;
};

} // namespace kestrova
