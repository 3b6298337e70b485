#include "Game/SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The same bound the system puts on a chain of links, so a loop ends.
const int MAX_LINKS_FOLLOWED = 40;
// Names tried for the temporary file: "x.map.tmp", then "x.map.1.tmp" ... "x.map.9.tmp".
const int TEMPORARY_NAMES = 10;

// The file a chain of symbolic links ends at (path itself when it is no link). False for a
// loop or a link that cannot be read.
bool FollowLinks(const fs::path& path, fs::path& target)
{
    target = path;
    for (int followed = 0; followed < MAX_LINKS_FOLLOWED; ++followed) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) return true;
        fs::path next = fs::read_symlink(target, error);
        if (error) return false;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return false;
}

bool MayWrite(const std::string& file)
{
    FILE* probe = fopen(file.c_str(), "r+b");
    if (probe == nullptr) return false;
    fclose(probe);
    return true;
}

bool ReadBytes(const std::string& file, std::string& bytes)
{
    FILE* in = fopen(file.c_str(), "rb");
    if (in == nullptr) return false;
    char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof(chunk), in)) > 0;) bytes.append(chunk, n);
    bool read = !ferror(in);
    fclose(in);
    return read;
}

// Writes everything and closes the file; true only if every byte reached it.
bool WriteAndClose(FILE* file, const std::string& bytes)
{
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = (fflush(file) == 0) && written;
    written = !ferror(file) && written;
    return (fclose(file) == 0) && written;
}

bool WriteBytes(const std::string& file, const char* mode, const std::string& bytes)
{
    FILE* out = fopen(file.c_str(), mode);
    return out != nullptr && WriteAndClose(out, bytes);
}

// A new file beside target under a free temporary name: one that exists may be all that is
// left of an earlier save, so it is never opened.
FILE* CreateTemporary(const std::string& target, std::string& temporary)
{
    for (int n = 0; n < TEMPORARY_NAMES; ++n) {
        temporary = target + (n == 0 ? "" : "." + std::to_string(n)) + ".tmp";
        // Asked first: the Windows runtime ignores fopen's exclusive "x" and would empty it.
        std::error_code error;
        const fs::file_status status = fs::symlink_status(temporary, error);
        if (!error && fs::exists(status)) continue;
        errno = 0;
        FILE* file = fopen(temporary.c_str(), "wx");
        if (file != nullptr || errno != EEXIST) return file;
    }
    return nullptr;
}

// Where no complete copy can stand beside it: the text goes into the file itself, and if
// that breaks off, the old bytes go back (or a file that was not there goes again).
bool RewriteInPlace(const std::string& target, bool existed, const std::string& text)
{
    std::string old;
    if (existed && !ReadBytes(target, old)) return false;
    if (WriteBytes(target, "w", text)) return true;
    if (existed) {
        WriteBytes(target, "wb", old);
    } else {
        remove(target.c_str());
    }
    return false;
}

}  // namespace

bool SaveTextSafely(const std::string& path, const std::string& text)
{
    fs::path resolved;
    if (!FollowLinks(path, resolved)) return false;
    const std::string target = resolved.string();

    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = fs::exists(status);
    // A read-only file stays as it is, even where its folder would let us replace it.
    if (exists && (!fs::is_regular_file(status) || !MayWrite(target))) return false;

    std::string temporary;
    FILE* file = CreateTemporary(target, temporary);
    if (file == nullptr) return RewriteInPlace(target, exists, text);

    bool saved = WriteAndClose(file, text);
    if (saved && exists && fs::hard_link_count(target, error) > 1 && !error) {
        // Moving a new file in would cut the other names off. The complete copy showed that
        // the text fits; it goes first so the rewrite has its room.
        remove(temporary.c_str());
        return RewriteInPlace(target, true, text);
    }
    if (saved && exists) {
        fs::permissions(temporary, status.permissions(), fs::perm_options::replace, error);
        saved = !error;
    }
    if (saved) {
        fs::rename(temporary, target, error);
        saved = !error;
    }
    if (!saved) remove(temporary.c_str());
    return saved;
}
