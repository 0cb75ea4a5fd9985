#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// True for an existing regular file (a folder of that name does not count).
bool FileExists(const std::string& path);
// The whole file, or nothing when it cannot be read or is larger than maxBytes.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, uint64_t maxBytes);
// The folder the running program lies in, through any symlinks, as the file system spells it
// (its bytes need not be UTF-8); empty when it cannot be found.
std::string ExecutableFolder();
// The per-user settings folder by the XDG rules, as the file system spells it: an absolute
// $XDG_CONFIG_HOME, else <home>/.config, the home being an absolute $HOME or else the one the
// password database gives. Empty when the only home is the root folder, or none is found.
std::string ConfigFolder();
