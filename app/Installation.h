// Where the installation keeps its own files, and which of them the installation check
// requires. The layout is the same in the build tree and once installed: the program in
// <prefix>/bin, the help documents and pictures in <prefix>/share/kestrova. The pictures'
// checksums are recorded by the build. Qt Core.
#pragma once

#include "shell/StartUp.h"

#include <filesystem>
#include <span>

namespace kestrova::app {

// <prefix>: the directory above the running program's own.
std::filesystem::path installationPrefix();

// In check order: the program, the help documents, the pictures.
std::span<const VitalFile> vitalFiles();

} // namespace kestrova::app
