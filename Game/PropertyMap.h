// String keys to string values, in key order, with keys compared ignoring ASCII case.
// A pair keeps the spelling its key was first inserted with.
#pragma once

#include <map>
#include <string>

struct PropertyKeyLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class PropertyMap {
public:
    typedef std::map<std::string, std::string, PropertyKeyLess> Pairs;
    typedef Pairs::const_iterator const_iterator;

    void Set(const std::string& key, const std::string& value);
    bool Get(const std::string& key, std::string& value) const;
    void Remove(const std::string& key);
    int Count() const { return static_cast<int>(_pairs.size()); }

    const_iterator begin() const { return _pairs.begin(); }
    const_iterator end() const { return _pairs.end(); }

    bool operator==(const PropertyMap& other) const;
    bool operator!=(const PropertyMap& other) const { return !(*this == other); }

private:
    Pairs _pairs;
};
