// The maker's web site as the program reaches it: downloading a file from an address, and
// opening an address in the user's browser. The Qt program implements both; tests answer them.
// Standard library only.
#pragma once

#include <filesystem>
#include <string_view>

namespace kestrova {

class WebDownloader {
public:
    virtual ~WebDownloader() = default;
    // True when the whole content arrived and was written to `target`.
    virtual bool download(std::string_view address, const std::filesystem::path& target) = 0;
};

class WebBrowser {
public:
    virtual ~WebBrowser() = default;
    // Opens the address in the user's browser; failures are the browser's to report.
    virtual void openAddress(std::string_view address) = 0;
};

} // namespace kestrova
