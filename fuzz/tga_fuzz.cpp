// The TGA loader: any bytes as a picture file.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "Engine/Image.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One picture loaded again and again: a load cut short by its fatal report leaves pixels that
    // only the next load or the destructor frees, as the program (which ends there) never needs.
    static const uint8_t smallest[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 0, 0, 0};
    static std::unique_ptr<Image> image(new Image(WriteInputFile(smallest, sizeof(smallest), "first.tga")));

    const std::string input = WriteInputFile(data, size, "input.tga");
    if (!LoadOrReject(
            [&] {
                image->LoadFromFile(input);
                return true;
            },
            {"Engine/Image.cpp"}))
        return 0;

    const size_t header = 18;
    if (image->GetBytesPerPixel() != 3 && image->GetBytesPerPixel() != 4) Finding("an unsupported depth loaded");
    if (image->GetPixelDataSize() > size - header) Finding("more pixels than the file holds");
    if (image->GetPixelDataSize() > 0 && image->GetPixelData() == nullptr) Finding("pixels promised but none kept");
    return 0;
}
