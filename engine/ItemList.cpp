#include "ItemList.h"

#include <algorithm>
#include <iterator>

#include "AsciiText.h"
#include "DownItem.h"

void ItemList::PushBack(CDownItem* item) {
    const DownItemRecord* record = item->RecordAddress();
    nodes_.push_back(Node{item, nextOrder_++, LowerAscii(std::string(record->url)), record->state});
    places_[item] = std::prev(nodes_.end());
    IndexUrl(nodes_.back());
    IndexState(nodes_.back(), +1);
    item->Watch(this);
}

void ItemList::Remove(CDownItem* item) {
    Nodes::iterator at;
    if (!Locate(item, at)) return;
    item->Watch(nullptr);
    UnindexUrl(*at);
    IndexState(*at, -1);
    places_.erase(item);
    nodes_.erase(at);
    lastHandle_ = nullptr;
}

std::vector<CDownItem*> ItemList::TakeAll() {
    std::vector<CDownItem*> all;
    all.reserve(nodes_.size());
    for (const Node& node : nodes_) {
        node.item->Watch(nullptr);
        all.push_back(node.item);
    }
    nodes_.clear();
    places_.clear();
    lastHandle_ = nullptr;
    byUrl_.clear();
    waiting_.clear();
    downloading_ = 0;
    return all;
}

bool ItemList::Locate(const void* handle, Nodes::iterator& at) const {
    if (handle && handle == lastHandle_) {
        at = lastPlace_;
        return true;
    }
    const auto found = places_.find(handle);
    if (found == places_.end()) return false;
    at = found->second;
    Remember(at);
    return true;
}

void ItemList::Remember(Nodes::iterator at) const {
    lastHandle_ = at->item;
    lastPlace_ = at;
}

CDownItem* ItemList::Find(const void* handle) const {
    Nodes::iterator at;
    return Locate(handle, at) ? at->item : nullptr;
}

CDownItem* ItemList::Next(const void* handle) const {
    Nodes::iterator at;
    if (!Locate(handle, at) || ++at == nodes_.end()) return nullptr;
    Remember(at);
    return at->item;
}

CDownItem* ItemList::FirstWithUrl(const char* url) const {
    const auto found = byUrl_.find(LowerAscii(std::string(url)));
    return found == byUrl_.end() ? nullptr : found->second.front().second;
}

CDownItem* ItemList::FirstIdleWaiting() const {
    for (const auto& [order, item] : waiting_) {
        if (item->RunsInFlight() == 0) return item;
    }
    return nullptr;
}

void ItemList::ItemChanged(CDownItem* item) {
    Nodes::iterator at;
    if (!Locate(item, at)) return;
    Node& node = *at;
    const DownItemRecord* record = item->RecordAddress();
    if (!EqualsNoCase(node.urlKey.c_str(), record->url)) {
        UnindexUrl(node);
        node.urlKey = LowerAscii(std::string(record->url));
        IndexUrl(node);
    }
    if (node.state != record->state) {
        IndexState(node, -1);
        node.state = record->state;
        IndexState(node, +1);
    }
}

void ItemList::IndexUrl(const Node& node) {
    UrlBucket& bucket = byUrl_[node.urlKey];
    const std::pair<uint64_t, CDownItem*> entry{node.order, node.item};
    bucket.insert(std::lower_bound(bucket.begin(), bucket.end(), entry), entry);
}

void ItemList::UnindexUrl(const Node& node) {
    const auto found = byUrl_.find(node.urlKey);
    if (found == byUrl_.end()) return;
    UrlBucket& bucket = found->second;
    bucket.erase(std::remove(bucket.begin(), bucket.end(), std::make_pair(node.order, node.item)), bucket.end());
    if (bucket.empty()) byUrl_.erase(found);
}

void ItemList::IndexState(const Node& node, int sign) {
    if (node.state == DownDownloading) downloading_ += sign;
    if (node.state != DownWaiting) return;
    if (sign > 0) {
        waiting_.emplace(node.order, node.item);
    } else {
        waiting_.erase(node.order);
    }
}
