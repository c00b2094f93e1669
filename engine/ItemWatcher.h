// What an item tells the list that holds it: that its URL or its state may have changed, so that
// the list's indexes stay true without walking the list. Called with the engine lock held.
#pragma once

class CDownItem;

class ItemWatcher {
public:
    virtual void ItemChanged(CDownItem* item) = 0;

protected:
    ~ItemWatcher() = default;
};
