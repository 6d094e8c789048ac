// Where the program keeps its files.
#pragma once

#include <filesystem>
#include <optional>

namespace lv {

// The maker's and the product's folder names below the user's configuration folder.
inline constexpr const char* kMakerFolder = "Lumvard Systems";
inline constexpr const char* kProductFolder = "Lumvard Sorvek";

// $XDG_CONFIG_HOME/Lumvard Systems/Lumvard Sorvek (XDG_CONFIG_HOME defaulting
// to $HOME/.config). Empty when neither variable gives an absolute folder.
// Nothing is created.
std::optional<std::filesystem::path> UserDirectoryPath();

// Creates the folder and its parents. True when it exists afterwards.
bool EnsureDirectory(const std::filesystem::path& dir);

// <current directory>/Baseband: where the board filter files live.
std::filesystem::path BasebandDirectory();

}  // namespace lv
