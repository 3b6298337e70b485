#include "WavFile.h"

#include <cstdio>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "fmod.h"

namespace {

const uint16_t WAVE_FORMAT_PCM = 0x0001;
const uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

struct Format {
    uint16_t tag = 0;
    int channels = 0;
    uint32_t frequency = 0;
    int bits = 0;
};

int ParseFormat(const uint8_t* body, uint32_t size, Format& format)
{
    if (size < 16) return FMOD_ERR_FILE_BAD;
    format.tag = ReadU16(body);
    format.channels = ReadU16(body + 2);
    format.frequency = ReadU32(body + 4);
    format.bits = ReadU16(body + 14);
    if (format.tag == WAVE_FORMAT_EXTENSIBLE) {
        // The sub-format GUID starts with the plain format tag.
        if (size < 40) return FMOD_ERR_FILE_BAD;
        format.tag = ReadU16(body + 24);
    }
    if (format.tag != WAVE_FORMAT_PCM) return FMOD_ERR_FILE_FORMAT;
    if (format.channels != 1 && format.channels != 2) return FMOD_ERR_FILE_FORMAT;
    if (format.bits != 8 && format.bits != 16) return FMOD_ERR_FILE_FORMAT;
    // Rates beyond this would overflow the mixer's step arithmetic; no real file has them.
    if (format.frequency == 0 || format.frequency > 1000000) return FMOD_ERR_FILE_FORMAT;
    return FMOD_ERR_NONE;
}

// Opens only a regular file; anything else (a folder, a FIFO, a device) is FMOD_ERR_FILE_BAD.
int OpenRegularFile(const char* path, FILE*& file)
{
    file = nullptr;
#ifdef _WIN32
    // Windows names no FIFOs in its folders; the type is asked before opening.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found || error) return FMOD_ERR_FILE_NOTFOUND;
    if (status.type() != std::filesystem::file_type::regular) return FMOD_ERR_FILE_BAD;
    file = fopen(path, "rb");
    return file != nullptr ? FMOD_ERR_NONE : FMOD_ERR_FILE_NOTFOUND;
#else
    // Opened without waiting, so a FIFO without a writer cannot hold us; the type is then read
    // from what was opened, not from the name, which may have changed meanwhile.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FMOD_ERR_FILE_NOTFOUND;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return FMOD_ERR_FILE_BAD;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1 || (file = fdopen(fd, "rb")) == nullptr) {
        close(fd);
        return FMOD_ERR_FILE_BAD;
    }
    return FMOD_ERR_NONE;
#endif
}

// The chunks a sound needs: the first format chunk and the first data chunk.
struct Chunks {
    Format format;
    bool haveFormat = false;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
};

int FindChunks(const uint8_t* bytes, size_t size, Chunks& chunks)
{
    size_t cursor = 12;
    while (cursor + 8 <= size) {
        const uint8_t* id = bytes + cursor;
        const uint32_t chunkSize = ReadU32(bytes + cursor + 4);
        const uint8_t* body = bytes + cursor + 8;
        const size_t available = size - (cursor + 8);
        // The first format chunk rules, as in every RIFF reader; a later one is skipped.
        if (memcmp(id, "fmt ", 4) == 0 && !chunks.haveFormat) {
            if (chunkSize > available) return FMOD_ERR_FILE_BAD;
            const int result = ParseFormat(body, chunkSize, chunks.format);
            if (result != FMOD_ERR_NONE) return result;
            chunks.haveFormat = true;
        } else if (memcmp(id, "data", 4) == 0 && chunks.data == nullptr) {
            // Writers that stream often leave a too-large size; keep what is really there.
            chunks.data = body;
            chunks.dataSize = chunkSize < available ? chunkSize : available;
        }
        if (chunkSize >= available) break;
        cursor += 8 + static_cast<size_t>(chunkSize) + (chunkSize & 1u);
    }
    if (!chunks.haveFormat || chunks.data == nullptr) return FMOD_ERR_FILE_BAD;
    return FMOD_ERR_NONE;
}

// The whole frames of the data chunk, as floats on the 16-bit scale.
int DecodeSamples(const Format& format, const uint8_t* data, size_t dataSize, PcmSound& out)
{
    const size_t bytesPerSample = static_cast<size_t>(format.bits / 8);
    const size_t frameBytes = bytesPerSample * static_cast<size_t>(format.channels);
    const size_t frames = dataSize / frameBytes;
    if (frames > 0xFFFFFFFFu / 2) return FMOD_ERR_FILE_BAD;

    try {
        out.samples.resize(frames * static_cast<size_t>(format.channels));
    } catch (const std::bad_alloc&) {
        return FMOD_ERR_MEMORY;
    }
    float* dst = out.samples.data();
    const size_t count = out.samples.size();
    if (format.bits == 8) {
        // 8-bit WAVE data is unsigned with 128 as silence.
        for (size_t i = 0; i < count; ++i) dst[i] = static_cast<float>((static_cast<int>(data[i]) - 128) * 256);
    } else {
        for (size_t i = 0; i < count; ++i) dst[i] = static_cast<float>(static_cast<int16_t>(ReadU16(data + 2 * i)));
    }
    out.frameCount = static_cast<uint32_t>(frames);
    return FMOD_ERR_NONE;
}

}  // namespace

int ParseWav(const uint8_t* bytes, size_t size, PcmSound& out)
{
    if (size < 12 || memcmp(bytes, "RIFF", 4) != 0 || memcmp(bytes + 8, "WAVE", 4) != 0) return FMOD_ERR_FILE_FORMAT;
    Chunks chunks;
    int result = FindChunks(bytes, size, chunks);
    if (result != FMOD_ERR_NONE) return result;
    result = DecodeSamples(chunks.format, chunks.data, chunks.dataSize, out);
    if (result != FMOD_ERR_NONE) return result;
    out.channels = chunks.format.channels;
    out.bitsPerSample = chunks.format.bits;
    out.frequency = static_cast<int>(chunks.format.frequency);
    return FMOD_ERR_NONE;
}

int LoadWavFile(const char* path, int offset, int length, PcmSound& out)
{
    if (path == nullptr || offset < 0 || length < 0) return FMOD_ERR_INVALID_PARAM;
    FILE* file = nullptr;
    const int opened = OpenRegularFile(path, file);
    if (opened != FMOD_ERR_NONE) return opened;

    std::vector<uint8_t> bytes;
    int result = FMOD_ERR_NONE;
    if (fseek(file, offset, SEEK_SET) != 0) {
        result = FMOD_ERR_FILE_BAD;
    } else {
        uint8_t block[65536];
        const size_t limit = length > 0 ? static_cast<size_t>(length) : SIZE_MAX;
        try {
            while (bytes.size() < limit) {
                size_t want = sizeof(block);
                if (limit - bytes.size() < want) want = limit - bytes.size();
                const size_t got = fread(block, 1, want, file);
                bytes.insert(bytes.end(), block, block + got);
                if (got < want) break;
            }
        } catch (const std::bad_alloc&) {
            result = FMOD_ERR_MEMORY;
        }
        if (result == FMOD_ERR_NONE && ferror(file)) result = FMOD_ERR_FILE_BAD;
    }
    fclose(file);
    if (result != FMOD_ERR_NONE) return result;
    return ParseWav(bytes.data(), bytes.size(), out);
}
