#include "host/Files.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, uint64_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

std::string ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

namespace {
bool Absolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); Absolute(home)) return home;
#ifndef _WIN32
    if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && Absolute(pw->pw_dir))
        return pw->pw_dir;
#endif
    return {};
}
} // namespace

std::string ConfigFolder() {
    // A relative XDG_CONFIG_HOME is to be ignored; its bytes need not be UTF-8.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); Absolute(xdg)) return xdg;
    std::string home = HomeFolder();
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home.empty() || home == "/" ? std::string() : home + "/.config";
}
