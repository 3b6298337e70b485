// The executable's resources. On Windows the resource compiler builds them into the .exe; here
// the build turns the resource script into a source file whose static objects of this type hand
// each resource to the table that FindResourceA searches.
#pragma once

#include <cstddef>

#include "windows.h"

class PlatformResource {
public:
    // type and name as FindResourceA takes them: an integer made with MAKEINTRESOURCEA or a string.
    PlatformResource(LPCSTR type, LPCSTR name, const void* data, size_t size);
    PlatformResource(const PlatformResource&) = delete;
    PlatformResource& operator=(const PlatformResource&) = delete;
};
