#include "Game/SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool ReadAllAndClose(FILE* in, std::string& bytes)
{
    char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof(chunk), in)) > 0;) bytes.append(chunk, n);
    const bool read = !ferror(in);
    fclose(in);
    return read;
}

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
    return in != nullptr && ReadAllAndClose(in, bytes);
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

// The folder a file goes in, for messages.
std::string FolderOf(const std::string& file)
{
    const std::string folder = fs::path(file).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Why a file could not be made or written, from the error the system gave.
std::string DescribeError(int error, const std::string& file, bool creating)
{
    if (error == EROFS) return "the file system is read-only";
    if (creating && error == ENOENT) return "there is no folder \"" + FolderOf(file) + "\"";
    if (creating && error == ENOTDIR) return "\"" + FolderOf(file) + "\" is not a folder";
    if (creating && (error == EACCES || error == EPERM)) return "the folder \"" + FolderOf(file) + "\" is read-only";
    if (error == EACCES || error == EPERM) return "the file is read-only";
    return error != 0 ? strerror(error) : "it could not be written";
}

// A new file beside target under a free temporary name: one that exists may be all that is
// left of an earlier save, so it is never opened.
FILE* CreateTemporary(const std::string& target, bool binary, std::string& temporary)
{
    for (int n = 0; n < TEMPORARY_NAMES; ++n) {
        temporary = target + (n == 0 ? "" : "." + std::to_string(n)) + ".tmp";
        // Asked first: the Windows runtime ignores fopen's exclusive "x" and would empty it.
        std::error_code error;
        const fs::file_status status = fs::symlink_status(temporary, error);
        if (!error && fs::exists(status)) continue;
        errno = 0;
        FILE* file = fopen(temporary.c_str(), binary ? "wbx" : "wx");
        if (file != nullptr || errno != EEXIST) return file;
    }
    return nullptr;
}

// Where no complete copy can stand beside it: the text goes into the file itself, and if
// that breaks off, the old bytes go back (or a file that was not there goes again).
bool RewriteInPlace(const std::string& target, bool existed, bool binary, const std::string& text, std::string& why)
{
    std::string old;
    if (existed && !ReadBytes(target, old)) {
        why = DescribeError(errno, target, false);
        return false;
    }
    errno = 0;
    if (WriteBytes(target, binary ? "wb" : "w", text)) return true;
    why = DescribeError(errno, target, !existed);
    if (existed) {
        WriteBytes(target, "wb", old);
    } else {
        remove(target.c_str());
    }
    return false;
}

bool SaveSafely(const std::string& path, const std::string& text, bool binary, std::string& why)
{
    fs::path resolved;
    if (!FollowLinks(path, resolved)) {
        why = "its symbolic links go round in a loop or cannot be read";
        return false;
    }
    const std::string target = resolved.string();

    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = fs::exists(status);
    if (exists && fs::is_directory(status)) {
        why = "it is a folder";
        return false;
    }
    if (exists && !fs::is_regular_file(status)) {
        why = "it is not a plain file";
        return false;
    }
    // A read-only file stays as it is, even where its folder would let us replace it.
    errno = 0;
    if (exists && !MayWrite(target)) {
        why = DescribeError(errno, target, false);
        return false;
    }

    std::string temporary;
    FILE* file = CreateTemporary(target, binary, temporary);
    if (file == nullptr) return RewriteInPlace(target, exists, binary, text, why);

    errno = 0;
    bool saved = WriteAndClose(file, text);
    if (!saved) why = DescribeError(errno, target, false);
    if (saved && exists && fs::hard_link_count(target, error) > 1 && !error) {
        // Moving a new file in would cut the other names off. The complete copy showed that
        // the text fits; it goes first so the rewrite has its room.
        remove(temporary.c_str());
        return RewriteInPlace(target, true, binary, text, why);
    }
    if (saved && exists) {
        fs::permissions(temporary, status.permissions(), fs::perm_options::replace, error);
        saved = !error;
        if (error) why = error.message();
    }
    if (saved) {
        fs::rename(temporary, target, error);
        saved = !error;
        if (error) why = error.message();
    }
    if (!saved) remove(temporary.c_str());
    return saved;
}

}  // namespace

bool SaveTextSafely(const std::string& path, const std::string& text)
{
    std::string why;
    return SaveSafely(path, text, false, why);
}

bool SaveTextSafely(const std::string& path, const std::string& text, std::string& why)
{
    return SaveSafely(path, text, false, why);
}

bool SaveBytesSafely(const std::string& path, const std::string& bytes, std::string& why)
{
    return SaveSafely(path, bytes, true, why);
}
