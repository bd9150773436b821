#include "core/SiteList.h"

#include "core/FileNames.h"

#include <algorithm>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

bool isCommonSite(std::string_view name) {
    return equalsIgnoreCase(name, "common");
}

std::vector<std::string> BuildSiteList(const fs::path& programDir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(programDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') // ".", ".." and hidden directories
            continue;
        names.push_back(std::move(name));
    }
    // Without regard to case; names that differ only in case keep a fixed order.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = toLowerAscii(a);
        const std::string lb = toLowerAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::vector<std::string> SiteList::names() const {
    const std::lock_guard lock(mutex_);
    return names_;
}

std::size_t SiteList::size() const {
    const std::lock_guard lock(mutex_);
    return names_.size();
}

std::optional<std::string> SiteList::at(std::size_t position) const {
    const std::lock_guard lock(mutex_);
    if (position >= names_.size())
        return std::nullopt;
    return names_[position];
}

std::optional<std::size_t> SiteList::positionOf(std::string_view name) const {
    const std::lock_guard lock(mutex_);
    const auto it = std::find(names_.begin(), names_.end(), name);
    if (it == names_.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - names_.begin());
}

void SiteList::reset(std::vector<std::string> names) {
    {
        const std::lock_guard lock(mutex_);
        names_ = std::move(names);
    }
    notify();
}

void SiteList::append(std::string name) {
    {
        const std::lock_guard lock(mutex_);
        names_.push_back(std::move(name));
    }
    notify();
}

int SiteList::subscribe(Listener listener) {
    const std::lock_guard lock(mutex_);
    const int id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void SiteList::unsubscribe(int id) {
    const std::lock_guard lock(mutex_);
    listeners_.erase(id);
}

void SiteList::notify() {
    std::vector<Listener> listeners;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [id, listener] : listeners_)
            listeners.push_back(listener);
    }
    for (const auto& listener : listeners)
        listener();
}

} // namespace kestrova
