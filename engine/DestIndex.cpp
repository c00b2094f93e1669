#include "DestIndex.h"

#include <algorithm>

#include "EngineTypes.h"
#include "ItemRules.h"

void DestIndex::Add(const void* owner, const std::string& dest) {
    if (dest.empty()) return;
    const std::string key = DestKey(dest);
    owners_[key].push_back(owner);
    owners_[RecordNameOf(key)].push_back(owner);
}

void DestIndex::Remove(const void* owner, const std::string& dest) {
    if (dest.empty()) return;
    const std::string key = DestKey(dest);
    Drop(key, owner);
    Drop(RecordNameOf(key), owner);
    nextNumber_.clear();
}

void DestIndex::Drop(const std::string& key, const void* owner) {
    auto it = owners_.find(key);
    if (it == owners_.end()) return;
    auto& list = it->second;
    auto found = std::find(list.begin(), list.end(), owner);
    if (found != list.end()) list.erase(found);
    if (list.empty()) owners_.erase(it);
}

bool DestIndex::HeldByOther(const std::string& key, const void* self) const {
    auto it = owners_.find(key);
    if (it == owners_.end()) return false;
    return std::any_of(it->second.begin(), it->second.end(), [self](const void* o) { return o != self; });
}

bool DestIndex::TakenByOther(const std::string& dest, const void* self) const {
    const std::string key = DestKey(dest);
    return HeldByOther(key, self) || HeldByOther(RecordNameOf(key), self);
}

std::string DestIndex::FreeName(const std::string& dest, const void* self) const {
    auto taken = [&](const std::string& candidate) { return TakenByOther(candidate, self); };
    if (!taken(dest)) return dest;
    // The numbers skipped were taken when they were tried, and nothing has been freed since.
    return UniqueDestination(dest, taken, kPathSize, &nextNumber_[DestKey(dest)]);
}
