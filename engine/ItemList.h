// The manager's download list: the items in the order they joined, with indexes from handle, from
// URL and of the waiting items, so that no lookup walks the list. Every call is made with the engine
// lock held. The list does not own its items: the manager releases them.
#pragma once
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ItemWatcher.h"

class ItemList final : private ItemWatcher {
    struct Node {
        CDownItem* item;
        uint64_t order;      // rises along the list: sorts items of one URL, and the waiting ones
        std::string urlKey;  // the URL in lower case, as indexed
        int32_t state;       // as indexed
    };
    using Nodes = std::list<Node>;

public:
    // Walks the items in list order.
    class const_iterator {
    public:
        explicit const_iterator(Nodes::const_iterator at) : at_(at) {}
        CDownItem* operator*() const { return at_->item; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return at_ != other.at_; }

    private:
        Nodes::const_iterator at_;
    };

    ItemList() = default;
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    const_iterator begin() const { return const_iterator(nodes_.begin()); }
    const_iterator end() const { return const_iterator(nodes_.end()); }
    bool empty() const { return nodes_.empty(); }
    size_t size() const { return nodes_.size(); }
    CDownItem* Front() const { return nodes_.empty() ? nullptr : nodes_.front().item; }

    // Appends the item and watches it from now on.
    void PushBack(CDownItem* item);
    // Unlinks a listed item; it is no longer watched.
    void Remove(CDownItem* item);
    // Every item in list order; the list is left empty and watches none of them.
    std::vector<CDownItem*> TakeAll();

    // The listed item behind a handle, or null (any pointer may be asked about).
    CDownItem* Find(const void* handle) const;
    // The item after a listed one; null after the last one or for a handle that is not listed.
    CDownItem* Next(const void* handle) const;
    // The first item in list order whose URL equals url but for the case of ASCII letters.
    CDownItem* FirstWithUrl(const char* url) const;
    // How many items are downloading.
    int32_t Downloading() const { return downloading_; }
    // The first waiting item in list order whose last run has ended, or null.
    CDownItem* FirstIdleWaiting() const;

private:
    // Items of one URL, by their place in the list (seldom more than one).
    using UrlBucket = std::vector<std::pair<uint64_t, CDownItem*>>;

    void ItemChanged(CDownItem* item) override;
    // Finds the node of a listed item; false for any other handle.
    bool Locate(const void* handle, Nodes::iterator& at) const;
    void Remember(Nodes::iterator at) const;
    void IndexUrl(const Node& node);
    void UnindexUrl(const Node& node);
    void IndexState(const Node& node, int sign);

    Nodes nodes_;
    std::unordered_map<const void*, Nodes::iterator> places_;
    // The handle asked about last and its node: a poll asks for the next item, then about that
    // item twice, then for the one after it, so most questions need no lookup.
    mutable const void* lastHandle_ = nullptr;
    mutable Nodes::iterator lastPlace_;
    std::unordered_map<std::string, UrlBucket> byUrl_;
    std::map<uint64_t, CDownItem*> waiting_;
    int32_t downloading_ = 0;
    uint64_t nextOrder_ = 0;
};
