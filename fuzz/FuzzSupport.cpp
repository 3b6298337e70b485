#include "FuzzSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

// The targets link with
//   --wrap=<AssertionFailure>  every fatal report comes here and is thrown back to LoadOrReject;
//   --wrap=fopen, fclose       a load cut short by its report cannot close its file, so it is closed here;
//   --wrap=<OutputDebugStringA> the map elements' construction traces would drown the fuzzer's own output.
namespace {

struct FatalReport {
    std::string file;
    std::string message;
};

std::vector<FILE*> s_openFiles;
long s_inputs = 0;
long s_rejected = 0;

const std::string& ScratchFolder()
{
    // Never destroyed: the exit handler below still needs it.
    static const std::string& folder = *new std::string([] {
        const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/pinwhirl-fuzz-XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr) abort();
        atexit([] {
            std::error_code error;
            std::filesystem::remove_all(ScratchFolder(), error);
        });
        return pattern;
    }());
    return folder;
}

// The reported file is the source's path as the build passed it ("../Engine/Image.cpp" with ccache).
bool IsFrom(const std::string& file, const char* source)
{
    const size_t length = strlen(source);
    if (file.size() < length || file.compare(file.size() - length, length, source) != 0) return false;
    return file.size() == length || file[file.size() - length - 1] == '/';
}

void CloseLeftoverFiles()
{
    while (!s_openFiles.empty()) fclose(s_openFiles.back());
}

}  // namespace

extern "C" FILE* __real_fopen(const char* path, const char* mode);
extern "C" int __real_fclose(FILE* file);

extern "C" FILE* __wrap_fopen(const char* path, const char* mode)
{
    FILE* file = __real_fopen(path, mode);
    if (file != nullptr) s_openFiles.push_back(file);
    return file;
}

extern "C" int __wrap_fclose(FILE* file)
{
    s_openFiles.erase(std::remove(s_openFiles.begin(), s_openFiles.end(), file), s_openFiles.end());
    return __real_fclose(file);
}

// void OutputDebugStringA(LPCSTR)
extern "C" void __wrap__Z18OutputDebugStringAPKc(const char*) {}

// void AssertionFailure(int line, const char* file, const char* buildScope, const char* expression, const char* format,
// ...)
extern "C" [[noreturn]] void __wrap__Z16AssertionFailureiPKcS0_S0_S0_z(int line, const char* file, const char*,
                                                                       const char* expression, const char* format, ...)
{
    char message[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof(message), format, args);
    va_end(args);
    throw FatalReport{file, std::string(file) + "(" + std::to_string(line) + "): ( " + expression + " ) " + message};
}

bool LoadOrReject(const std::function<bool()>& load, std::initializer_list<const char*> rejectingSources)
{
    static const bool countsAtExit =
        atexit([] { fprintf(stderr, "%ld loads, %ld rejected as bad files\n", s_inputs, s_rejected); }) == 0;
    (void)countsAtExit;
    ++s_inputs;
    bool loaded = false;
    try {
        loaded = load();
    } catch (const FatalReport& report) {
        CloseLeftoverFiles();
        bool designed = false;
        for (const char* source : rejectingSources) designed = designed || IsFrom(report.file, source);
        if (!designed) Finding("a fatal report that no bad file should cause", report.message);
        ++s_rejected;
        return false;
    }
    if (!s_openFiles.empty()) Finding("the load left a file open");
    if (!loaded) ++s_rejected;
    return loaded;
}

std::string ScratchPath(const char* name)
{
    return ScratchFolder() + "/" + name;
}

std::string WriteInputFile(const uint8_t* data, size_t size, const char* name)
{
    std::string path = ScratchPath(name);
    FILE* file = __real_fopen(path.c_str(), "wb");
    if (file == nullptr || fwrite(data, 1, size, file) != size) abort();
    __real_fclose(file);
    return path;
}

std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    FILE* file = __real_fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof(chunk), file)) > 0;) bytes.append(chunk, n);
    __real_fclose(file);
    return bytes;
}

void Finding(const char* what, const std::string& detail)
{
    fprintf(stderr, "FINDING: %s\n%s\n", what, detail.c_str());
    abort();
}
