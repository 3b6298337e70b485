#include "Game/PropertyMap.h"

static inline unsigned char FoldAsciiCase(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Byte order after folding 'A'..'Z' onto 'a'..'z', so '_' sorts before every letter.
bool PropertyKeyLess::operator()(const std::string& a, const std::string& b) const
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = FoldAsciiCase(static_cast<unsigned char>(a[i]));
        unsigned char cb = FoldAsciiCase(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

void PropertyMap::Set(const std::string& key, const std::string& value)
{
    // Assigning through the found pair leaves the stored key spelling alone.
    Pairs::iterator found = _pairs.find(key);
    if (found != _pairs.end()) {
        found->second = value;
    } else {
        _pairs.emplace(key, value);
    }
}

bool PropertyMap::Get(const std::string& key, std::string& value) const
{
    const_iterator found = _pairs.find(key);
    if (found == _pairs.end()) return false;
    value = found->second;
    return true;
}

void PropertyMap::Remove(const std::string& key)
{
    _pairs.erase(key);
}

bool PropertyMap::operator==(const PropertyMap& other) const
{
    if (_pairs.size() != other._pairs.size()) return false;
    for (const_iterator a = _pairs.begin(), b = other._pairs.begin(); a != _pairs.end(); ++a, ++b) {
        if (a->first != b->first || a->second != b->second) return false;
    }
    return true;
}
