// KERNEL32 resources: FindResourceA, LoadResource, LockResource and SizeofResource over the table
// the generated resource source fills before main() runs.
#include <strings.h>

#include <string>
#include <vector>

#include "PlatformInternal.h"
#include "PlatformResources.h"

namespace {

// Resource names compare ignoring case, as on Windows; an integer only equals the same integer.
bool SameName(WORD id, const std::string& name, LPCSTR wanted)
{
    if (IS_INTRESOURCE(wanted)) return id != 0 && id == WORD(reinterpret_cast<uintptr_t>(wanted));
    return id == 0 && strcasecmp(name.c_str(), wanted) == 0;
}

void Split(LPCSTR value, WORD* id, std::string* name)
{
    *id = IS_INTRESOURCE(value) ? WORD(reinterpret_cast<uintptr_t>(value)) : 0;
    *name = IS_INTRESOURCE(value) ? "" : value;
}

}  // namespace

PlatformResource::PlatformResource(LPCSTR type, LPCSTR name, const void* data, size_t size)
{
    PlatformResourceEntry entry;
    Split(type, &entry.typeId, &entry.typeName);
    Split(name, &entry.nameId, &entry.name);
    entry.data = data;
    entry.size = DWORD(size);
    Platform().resources.entries.push_back(entry);
}

// The program is the only module: every instance handle, null included, names it.
HRSRC WINAPI FindResourceA(HMODULE, LPCSTR name, LPCSTR type)
{
    if (name == nullptr || type == nullptr) return nullptr;
    for (PlatformResourceEntry& entry : Platform().resources.entries) {
        if (SameName(entry.typeId, entry.typeName, type) && SameName(entry.nameId, entry.name, name))
            return reinterpret_cast<HRSRC>(&entry);
    }
    return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC resource)
{
    if (resource == nullptr) return nullptr;
    return const_cast<void*>(reinterpret_cast<PlatformResourceEntry*>(resource)->data);
}

LPVOID WINAPI LockResource(HGLOBAL data)
{
    return data;
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC resource)
{
    return resource == nullptr ? 0 : reinterpret_cast<PlatformResourceEntry*>(resource)->size;
}
