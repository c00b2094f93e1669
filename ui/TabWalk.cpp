#include "TabWalk.h"

#include <algorithm>

namespace ui {

namespace {

void CollectTabStops(const TWinControl& parent, std::vector<HWND>& stops) {
    for (TWinControl* child : parent.TabList()) {
        const HWND h = child->HandleOrNull();
        if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
        if (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) stops.push_back(h);
        CollectTabStops(*child, stops);
    }
}

}  // namespace

std::vector<HWND> TabStops(const TWinControl& root) {
    std::vector<HWND> stops;
    CollectTabStops(root, stops);
    return stops;
}

HWND NextTabStop(const TWinControl& root, HWND from, bool forward) {
    const std::vector<HWND> stops = TabStops(root);
    if (stops.empty()) return nullptr;
    const HWND top = root.HandleOrNull();
    auto at = stops.end();
    for (HWND w = from; w && w != top && at == stops.end(); w = GetParent(w)) at = std::find(stops.begin(), stops.end(), w);
    if (at == stops.end()) return forward ? stops.front() : stops.back();
    const size_t i = static_cast<size_t>(at - stops.begin()), n = stops.size();
    return stops[forward ? (i + 1) % n : (i + n - 1) % n];
}

}  // namespace ui
