#include "Screenshot.h"

#include <windows.h>

#include <GL/gl.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void PutU32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

// A PNG chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, &out[typeAt], static_cast<uInt>(4 + data.size()));
    PutU32(out, static_cast<uint32_t>(crc));
}

// rows: height rows of width RGB pixels, each row led by its filter byte (0, none).
bool EncodePng(int width, int height, const std::vector<unsigned char>& rows, std::vector<unsigned char>& png)
{
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), Z_DEFAULT_COMPRESSION) !=
        Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.assign(signature, signature + 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return true;
}

}  // namespace

bool WriteScreenshotPng(const std::string& file, int width, int height, bool fromBackBuffer)
{
    if (width <= 0 || height <= 0) return false;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> bottomUp(rowBytes * static_cast<size_t>(height));
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    GLint readBuffer = 0;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    if (fromBackBuffer) glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glPopClientAttrib();

    // OpenGL's rows run bottom-up, a PNG's top-down.
    std::vector<unsigned char> rows;
    rows.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int row = height - 1; row >= 0; --row) {
        rows.push_back(0);
        const unsigned char* start = &bottomUp[static_cast<size_t>(row) * rowBytes];
        rows.insert(rows.end(), start, start + rowBytes);
    }
    std::vector<unsigned char> png;
    if (!EncodePng(width, height, rows, png)) return false;
    FILE* out = fopen(file.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = fwrite(png.data(), 1, png.size(), out) == png.size();
    return fclose(out) == 0 && written;
}
