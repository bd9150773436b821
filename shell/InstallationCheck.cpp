// MD5 digests through OpenSSL's EVP interface, and the check or listing over the vital files.
#include "shell/InstallationCheck.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/TextFile.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <memory>
#include <openssl/evp.h>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kListingMarker = "nomd5.txt";

struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

std::string upperHex(const unsigned char* bytes, unsigned length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 2u);
    for (unsigned i = 0; i < length; ++i) {
        text += kDigits[bytes[i] >> 4U];
        text += kDigits[bytes[i] & 0x0FU];
    }
    return text;
}

std::string joinedLines(std::string_view first, std::string_view second) {
    return std::string(first) + "\r" + std::string(second);
}

fs::path locate(const fs::path& installDir, const VitalFile& file) {
    return file.location.empty() ? resolveInDirectory(installDir, file.name)
                                 : installDir / file.location;
}

bool listingMode(const fs::path& programDir) {
    return fileExists(resolveInDirectory(programDir, kListingMarker));
}

void writeListing(const fs::path& programDir, const fs::path& installDir,
                  std::span<const VitalFile> files, EventPump& events) {
    Lines lines{"Filename,Md5Checksum,WhatIHave"};
    for (const VitalFile& file : files) {
        const fs::path path = locate(installDir, file);
        events.processEvents();
        const std::string digest =
            fileExists(path) ? FileMd5Hex(path) : std::string(kMissingDigest);
        lines.push_back(file.name + "," + digest + "," + file.expectedMd5);
    }
    replaceFileLines(resolveInDirectory(programDir, kListingMarker), lines);
}

// A file checked for presence only need not be read whole (the program file of a build with
// debug information is tens of megabytes, read at every start): it must open and give its
// first bytes, as the digest would need.
void requireReadable(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw makeIoError("open", file);
    char first = 0;
    in.read(&first, 1);
    if (in.bad())
        throw makeIoError("read", file);
}

} // namespace

std::string FileMd5Hex(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw makeIoError("open", file);
    const std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1)
        throw std::runtime_error("MD5 digest unavailable");
    std::array<char, 65536> buffer{};
    while (in) {
        in.read(buffer.data(), buffer.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > 0)
            EVP_DigestUpdate(context.get(), buffer.data(), got);
    }
    if (in.bad())
        throw makeIoError("read", file);
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned length = 0;
    EVP_DigestFinal_ex(context.get(), digest.data(), &length);
    return upperHex(digest.data(), length);
}

bool RunInstallationCheck(const fs::path& programDir, const fs::path& installDir,
                          std::span<const VitalFile> files, Dialogs& dialogs, EventPump& events) {
    try {
        if (listingMode(programDir)) {
            writeListing(programDir, installDir, files, events);
            return true;
        }
        bool sound = true;
        for (const VitalFile& file : files) {
            const fs::path path = locate(installDir, file);
            if (!fileExists(path)) {
                dialogs.showInformation(file.name +
                                        " is missing, Please reinstall the application");
                sound = false;
                continue;
            }
            events.processEvents();
            if (file.expectedMd5.empty()) {
                requireReadable(path);
                continue;
            }
            const std::string digest = FileMd5Hex(path);
            if (digest != file.expectedMd5) {
                dialogs.showInformation(joinedLines(
                    file.name + " appears to be corrupt, Please reinstall the application",
                    digest));
                sound = false;
            }
        }
        return sound;
    } catch (const std::exception&) {
        dialogs.showInformation(
            joinedLines("Files Vital to Kestrova operation are corrupt or missing",
                        "Please re-install the application"));
        return false;
    }
}

} // namespace kestrova
