#include "Game/SafeSave.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

bool SaveTextSafely(const std::string& path, const std::string& text)
{
    // A file that may not be written to stays as it is, even though the directory
    // would let us replace it.
    FILE* probe = fopen(path.c_str(), "r+b");
    if (probe != nullptr) {
        fclose(probe);
    } else if (errno != ENOENT) {
        return false;
    }

    // Written beside the old file and moved over it only once complete, so a failed
    // save never leaves a half-written map behind.
    std::string temporaryPath = path + ".tmp";
    FILE* file = fopen(temporaryPath.c_str(), "wt");
    if (file == nullptr) return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    written = (fflush(file) == 0) && written;
    written = !ferror(file) && written;
    written = (fclose(file) == 0) && written;

    std::error_code error;
    if (written) std::filesystem::rename(temporaryPath, path, error);
    if (!written || error) {
        remove(temporaryPath.c_str());
        return false;
    }
    return true;
}
