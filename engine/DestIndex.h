// The destinations of a list's items and their resume records, by DestKey: tells without walking
// the list whether a name is another item's file or record. Guarded by the engine lock, as the
// list is.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

class DestIndex {
public:
    // `owner` holds `dest` and its record (an owner may be listed under one name more than once:
    // a loaded list may hold a name twice).
    void Add(const void* owner, const std::string& dest);
    void Remove(const void* owner, const std::string& dest);
    // True when the file `dest` or its record would be a file an owner other than `self` holds,
    // as its destination or its record. `self` may be null.
    bool TakenByOther(const std::string& dest, const void* self) const;
    // `dest` when no other owner holds it, else its first free numbered name; empty when none is
    // free or fits the destination field.
    std::string FreeName(const std::string& dest, const void* self) const;

private:
    bool HeldByOther(const std::string& key, const void* self) const;
    void Drop(const std::string& key, const void* owner);

    std::unordered_map<std::string, std::vector<const void*>> owners_;
    // Per clashing name, the number its next rewrite is tried from: a long list of one name (every
    // "video" of a site) is not probed from 1 again for each new item. Forgotten whenever a name
    // is freed, since a lower number may be free then.
    mutable std::unordered_map<std::string, unsigned> nextNumber_;
};
