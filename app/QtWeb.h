// The maker's web site through Qt Network and the desktop's browser.
#pragma once

#include "core/Web.h"

#include <chrono>

namespace kestrova::app {

class QtWebDownloader : public WebDownloader {
public:
    explicit QtWebDownloader(std::chrono::milliseconds timeout = std::chrono::seconds(15))
        : timeout_(timeout) {}
    // Waits for the reply in a local event loop, so the window stays painted meanwhile.
    bool download(std::string_view address, const std::filesystem::path& target) override;

private:
    std::chrono::milliseconds timeout_;
};

class QtWebBrowser : public WebBrowser {
public:
    void openAddress(std::string_view address) override;
};

} // namespace kestrova::app
