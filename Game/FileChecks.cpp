#include "Game/FileChecks.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "Engine/AssertionFailure.h"
#include "Engine/FileName.h"
#include "Engine/Image.h"
#include "Engine/ParseBuffer.h"
#include "Engine/TheConsole.h"
#include "Engine/Texture.h"
#include "Game/MapArea.h"
#include "Game/MapFile.h"

namespace fs = std::filesystem;

namespace {

std::string Trimmed(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

bool BeginsWith(const std::string& text, const char* start)
{
    return text.compare(0, strlen(start), start) == 0;
}

// Why something that is there does not open for reading.
std::string WhyNotReadable(const std::string& resolved)
{
    errno = 0;
    FILE* file = fopen(resolved.c_str(), "rb");
    if (file == nullptr) return errno != 0 ? strerror(errno) : "it does not open";
    fclose(file);
    return "it does not open";
}

void WarnUnreadable(const std::string& path, const char* what, const std::string& fault)
{
    theConsole.Printf("WARNING: cannot read %s \"%s\": %s\n", what, path.c_str(), fault.c_str());
}

// A picture's header checks carry no message; the check tells what was wrong.
std::string DescribePictureFault(const TrappedReport& report)
{
    if (!report.message.empty()) return DescribeFault(report);
    if (report.expression.find("bytesRead") != std::string::npos)
        return "the file ends early (the check ( " + report.expression + " ) failed)";
    if (report.expression.find("memcmp") != std::string::npos)
        return "it is not an uncompressed true-colour TGA picture (the check ( " + report.expression + " ) failed)";
    return DescribeFault(report);
}

}  // namespace

std::string DescribeFault(const TrappedReport& report)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= report.message.size()) {
        size_t end = report.message.find('\n', start);
        if (end == std::string::npos) end = report.message.size();
        const std::string line = Trimmed(report.message.substr(start, end - start));
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty()) return "the check ( " + report.expression + " ) failed";
    // A syntax error: where, and what the reader expected; the quoted text around it is long.
    if (BeginsWith(lines[0], "Syntax error")) {
        for (const std::string& line : lines)
            if (BeginsWith(line, "ERROR: ")) return lines[0] + " " + line.substr(7);
        return lines[0];
    }
    std::string fault;
    for (const std::string& line : lines) fault += (fault.empty() ? "" : " ") + line;
    return BeginsWith(fault, "ERROR: ") ? fault.substr(7) : fault;
}

bool CheckFileOpens(const std::string& path, const char* what)
{
    if (CanOpenFile(path)) return true;
    const std::string resolved = ResolveFileName(path);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(resolved, error))) {
        theConsole.Printf("WARNING: no %s \"%s\"\n", what, path.c_str());
        return false;
    }
    // A folder, a FIFO or a device: not a file of that kind at all, and never opened (a FIFO
    // would wait for a writer for ever).
    if (GetFileKind(path) == FileKind::OTHER) {
        const std::string kind = what;
        const bool picture = kind.size() >= 7 && kind.compare(kind.size() - 7, 7, "picture") == 0;
        theConsole.Printf("WARNING: \"%s\" is not a %s\n", path.c_str(), picture ? "picture file" : what);
        return false;
    }
    WarnUnreadable(path, what, WhyNotReadable(resolved));
    return false;
}

bool ReadMapFile(const std::string& path, MapArea& map)
{
    if (!CheckFileOpens(path, "map file")) return false;
    TrappedReport report;
    if (TrapFatalReports([&] { map.Load(path); }, report)) return true;
    map.Clear();
    WarnUnreadable(path, "map file", DescribeFault(report));
    return false;
}

bool ReadMapText(const std::string& text, const std::string& name, MapArea& map, std::string& fault)
{
    // The reader strips comments in place: it gets its own copy.
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    TrappedReport report;
    if (TrapFatalReports(
            [&] {
                ParseBuffer buffer(copy.data(), int32_t(text.size()), name.c_str());
                MapFile::Read(buffer, map);
            },
            report))
        return true;
    map.Clear();
    fault = DescribeFault(report);
    return false;
}

bool CheckPicture(const std::string& path, const char* what)
{
    if (!CheckFileOpens(path, what)) return false;
    TrappedReport report;
    if (TrapFatalReports([&] { Texture::CheckSize(Image(path)); }, report)) return true;
    WarnUnreadable(path, what, DescribePictureFault(report));
    return false;
}

Texture* LoadTexture(const std::string& path, const char* what)
{
    if (!CheckFileOpens(path, what)) return nullptr;
    std::unique_ptr<Texture> texture;
    TrappedReport report;
    if (TrapFatalReports([&] { texture.reset(new Texture(path)); }, report)) return texture.release();
    WarnUnreadable(path, what, DescribePictureFault(report));
    return nullptr;
}
