#include "DataFiles.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const std::filesystem::path target(path);
    std::error_code error;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    const std::string temporary = path + ".part";
    FILE* file = fopen(temporary.c_str(), "wb");
    const bool written = file != nullptr && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = file != nullptr && fclose(file) == 0;
    if (!written || !closed || rename(temporary.c_str(), path.c_str()) != 0) {
        fprintf(stderr, "cannot write \"%s\"\n", path.c_str());
        remove(temporary.c_str());
        exit(1);
    }
}

static void PutU16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

static void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void WriteTga(const std::string& path, const Canvas& canvas, bool withAlpha)
{
    WriteFileAtomically(path, EncodeTga(canvas, withAlpha));
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int sampleRate)
{
    std::vector<uint8_t> bytes;
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
    PutU32(bytes, 36 + dataBytes);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutU32(bytes, 16);
    PutU16(bytes, 1);  // PCM
    PutU16(bytes, 1);  // mono
    PutU32(bytes, uint32_t(sampleRate));
    PutU32(bytes, uint32_t(sampleRate) * 2);
    PutU16(bytes, 2);
    PutU16(bytes, 16);
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    PutU32(bytes, dataBytes);
    for (float s : samples) {
        if (!(std::fabs(s) <= 1.0f)) {
            fprintf(stderr, "\"%s\": a sample of %g would clip\n", path.c_str(), double(s));
            exit(1);
        }
        PutU16(bytes, uint16_t(int16_t(std::lround(s * 32767.0f))));
    }
    WriteFileAtomically(path, bytes);
}
