// The sites of the program directory: the non-hidden subdirectories, sorted by name without
// regard to case. A site's 0-based position selects its block of the site checkpoint index and
// names its bucket file during processing. One SiteList is shared by every window that offers
// sites, so they always show the same names in the same order. Standard library only.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Whether a site name is "common" in any case: its clockings go to a neighbouring site.
bool isCommonSite(std::string_view name);

// The site directories of the program directory in site-position order. Directories whose name
// begins with "." are hidden and not sites.
std::vector<std::string> BuildSiteList(const std::filesystem::path& programDir);

// The shared list model behind the four site lists of the windows.
class SiteList {
public:
    using Listener = std::function<void()>;

    std::vector<std::string> names() const;
    std::size_t size() const;
    std::optional<std::string> at(std::size_t position) const;
    // The position of a name (exact spelling), if listed.
    std::optional<std::size_t> positionOf(std::string_view name) const;

    // Replaces the whole list (start-up); listeners are told.
    void reset(std::vector<std::string> names);
    // A site created during the run goes to the end, unsorted, until the next start-up.
    void append(std::string name);

    // Windows subscribe to redraw; the returned id unsubscribes.
    int subscribe(Listener listener);
    void unsubscribe(int id);

private:
    void notify();

    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 0;
};

} // namespace kestrova
