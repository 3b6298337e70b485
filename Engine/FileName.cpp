#include "Engine/FileName.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// A dangling symbolic link is an entry too: a save writes through it.
bool EntryExists(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    return !error && fs::status_known(status) && status.type() != fs::file_type::not_found;
}

// The folder's entry whose name matches part ignoring case, the first in name order; empty for none.
std::string FindIgnoringCase(const fs::path& folder, const std::string& part)
{
    std::error_code error;
    fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error);
    std::string best;
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (SameIgnoringCase(name, part) && (best.empty() || name < best)) best = name;
    }
    return best;
}

std::string ResolveParts(const std::string& path)
{
    fs::path resolved;
    bool found = true;
    for (const fs::path& element : fs::path(path)) {
        const std::string part = element.string();
        // Below a part that matched nothing, nothing can match either.
        if (found && !part.empty() && part != "." && part != ".." && !element.has_root_path() &&
            !EntryExists(resolved / element)) {
            const std::string match = FindIgnoringCase(resolved, part);
            found = !match.empty();
            resolved /= found ? fs::path(match) : element;
        } else {
            resolved /= element;
        }
    }
    return resolved.string();
}

}  // namespace

std::string ResolveFileName(const std::string& path)
{
    if (path.empty() || EntryExists(path)) return path;
    // A folder may hold names the narrow character set cannot spell (Windows converts every
    // entry's name); the path then stays as typed, which on Windows already ignores case.
    try {
        return ResolveParts(path);
    } catch (const std::exception&) {
        return path;
    }
}

FileKind GetFileKind(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(ResolveFileName(path), error);
    if (!fs::status_known(status) || status.type() == fs::file_type::not_found) return FileKind::MISSING;
    return status.type() == fs::file_type::regular ? FileKind::REGULAR : FileKind::OTHER;
}

FILE* OpenRegularFile(const std::string& path)
{
    // The type is asked before the open: opening a FIFO for reading blocks until someone writes.
    // A folder opens for reading here but not on Windows, and it is no file to read anyway.
    const std::string resolved = ResolveFileName(path);
    std::error_code error;
    if (!fs::is_regular_file(resolved, error)) return nullptr;
    return fopen(resolved.c_str(), "rb");
}

bool CanOpenFile(const std::string& path)
{
    FILE* file = OpenRegularFile(path);
    if (file == nullptr) return false;
    fclose(file);
    return true;
}

namespace {

// Windows opens these devices whatever extension or trailing spaces follow ("NUL.map",
// "com1 .tga"); a serial port can block a read for good. They are refused on every system, so a
// map made on one plays on the other.
bool IsDeviceName(const std::string& name)
{
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (SameIgnoringCase(stem, device)) return true;
    const bool port =
        stem.size() == 4 && (SameIgnoringCase(stem.substr(0, 3), "COM") || SameIgnoringCase(stem.substr(0, 3), "LPT"));
    return port && stem[3] >= '0' && stem[3] <= '9';
}

}  // namespace

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos && name != "." &&
           name != ".." && !IsDeviceName(name);
}
