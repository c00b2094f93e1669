#include "Progresspanel.h"

#include <algorithm>

#include "Reader.h"

TProgressPanel::TProgressPanel(ui::TComponent* owner)
    : ui::TCustomPanel(owner), didBitmap_(std::make_unique<ui::TBitmap>()), tryBitmap_(std::make_unique<ui::TBitmap>()) {
    color_ = ui::clWindow;
    BevelInner = ui::TBevelCut::Raised;
    BevelOuter = ui::TBevelCut::Lowered;
    BorderWidth = 1;
    BevelWidth = 1;
    scrollBar_ = new ui::TScrollBar(this);
    scrollBar_->Vertical = true;
    scrollBar_->SetWidth(15);
    scrollBar_->SetAlign(ui::TAlign::Right);
    scrollBar_->SetEnabled(false);
    scrollBar_->SetParent(this);
    scrollBar_->OnScroll = [this](ui::TComponent* s, ui::TScrollCode c, int& p) { ScrollBarScroll(s, c, p); };
    for (ui::TBitmap* b : {didBitmap_.get(), tryBitmap_.get()}) {
        b->TransparentColor = 0xFF00FF;
        b->Transparent = true;
    }
    didBitmap_->OnChange = [this] { PictureChanged(*didBitmap_); };
    tryBitmap_->OnChange = [this] { PictureChanged(*tryBitmap_); };
}

TProgressPanel::~TProgressPanel() {
    surface_.reset();
    didBitmap_->OnChange = nullptr;
    tryBitmap_->OnChange = nullptr;
}

void TProgressPanel::SetName(const std::string& name) {
    ui::TCustomPanel::SetName(name);
    caption_.clear();
}

void TProgressPanel::PictureChanged(ui::TBitmap& picture) {
    cellWidth_ = picture.Width();
    cellHeight_ = picture.Height();
    const COLORREF background = ui::ColorToRGB(color_);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.Pixel(x, y) == RGB(255, 0, 255)) picture.SetPixel(x, y, background);
        }
    }
    PreparePaint();
}

bool TProgressPanel::Layout(int32_t scrollTo) {
    scrollBar_->SetEnabled(false);
    if (cellWidth_ == 0 || cellHeight_ == 0) return false;
    chartWidth_ = ClientWidth() - 19;
    chartHeight_ = ClientHeight();
    columns_ = chartWidth_ / cellWidth_;
    rows_ = chartHeight_ / cellHeight_;
    if (columns_ <= 0 || rows_ <= 0) return false;
    pages_ = 1;
    const int64_t perPage = static_cast<int64_t>(columns_) * rows_;
    // A position kept from a smaller panel is brought back into range: past the one that shows the
    // grid's last row, or anywhere once the grid fits and the bar is off, it would hide the top
    // rows with no way back to them.
    int32_t position = 0;
    if (perPage < totalCount_) {
        scrollBar_->SetEnabled(true);
        scrollBar_->SmallChange = 1;
        pages_ = static_cast<int32_t>(totalCount_ / perPage + (totalCount_ % perPage ? 1 : 0));
        const int32_t maximum = totalCount_ / columns_;
        position = std::clamp(scrollTo, 0, std::max(0, maximum - rows_ + 1));
        scrollBar_->SetParams(position, 0, maximum);
    }
    scrollPosition_ = position;
    if (!surface_) surface_ = std::make_unique<ui::TBitmap>();
    surface_->SetSize(chartWidth_, chartHeight_);
    surface_->Canvas().Brush.Color = color_;
    surface_->Canvas().FillRect({0, 0, chartWidth_, chartHeight_});
    return true;
}

void TProgressPanel::MarkReceived(int32_t from, int32_t to) {
    if (from >= to) return;
    received_.emplace_back(from, to);
    std::sort(received_.begin(), received_.end());
    std::vector<std::pair<int32_t, int32_t>> merged;
    for (const auto& r : received_) {
        if (!merged.empty() && r.first <= merged.back().second) merged.back().second = std::max(merged.back().second, r.second);
        else merged.push_back(r);
    }
    received_.swap(merged);
}

bool TProgressPanel::IsReceived(int32_t cell) const {
    for (const auto& r : received_) {
        if (cell >= r.first && cell < r.second) return true;
    }
    return false;
}

void TProgressPanel::DrawCell(int32_t cell) {
    if (!surface_ || columns_ <= 0) return;
    const int64_t row = cell / columns_;
    // A whole-grid surface would have ended after its last page.
    if ((row * cellHeight_) >= static_cast<int64_t>(pages_) * chartHeight_) return;
    const int64_t y = (row - scrollPosition_) * cellHeight_;
    if (y + cellHeight_ <= 0 || y >= chartHeight_) return;
    const int x = (cell % columns_) * cellWidth_;
    ui::TBitmap* picture = IsReceived(cell) ? didBitmap_.get() : cell < totalCount_ ? tryBitmap_.get() : nullptr;
    if (!picture || picture->Empty()) return;
    BitBlt(surface_->Canvas().Handle(), x, static_cast<int>(y), cellWidth_, cellHeight_, picture->Canvas().Handle(),
           0, 0, SRCCOPY);
}

void TProgressPanel::RenderVisible() {
    if (!surface_ || columns_ <= 0 || rows_ <= 0) return;
    surface_->Canvas().Brush.Color = color_;
    surface_->Canvas().FillRect({0, 0, chartWidth_, chartHeight_});
    const int64_t first = static_cast<int64_t>(scrollPosition_) * columns_;
    const int64_t last = (static_cast<int64_t>(scrollPosition_) + rows_ + 1) * columns_;  // with a partial row
    int64_t end = totalCount_;
    for (const auto& r : received_) end = std::max<int64_t>(end, r.second);
    for (int64_t cell = std::max<int64_t>(first, 0); cell < std::min(last, end); ++cell) DrawCell(static_cast<int32_t>(cell));
}

void TProgressPanel::PreparePaint() {
    if (!Layout(scrollPosition_)) return;
    received_.clear();
    MarkReceived(0, std::min(comedCount_, totalCount_));
    RenderVisible();
    CopyVisible();
}

void TProgressPanel::TotalPaint() {
    if (!Layout(0)) return;
    received_.clear();
    comedCount_ = 0;
    scrollPosition_ = 0;
    RenderVisible();
    CopyVisible();
}

void TProgressPanel::SetTotalCount(int32_t n) {
    totalCount_ = n;
    TotalPaint();
}

void TProgressPanel::ComedPaint(int32_t n) {
    if (n <= comedCount_) {
        comedCount_ = n;
        return;
    }
    const int32_t from = comedCount_;
    MarkReceived(from, n);
    if (surface_ && columns_ > 0) {
        // Only the cells on the visible page are drawn; the others are remembered as received.
        const int64_t first = std::max<int64_t>(from, static_cast<int64_t>(scrollPosition_) * columns_);
        const int64_t last = std::min<int64_t>(n, (static_cast<int64_t>(scrollPosition_) + rows_ + 1) * columns_);
        for (int64_t cell = first; cell < last; ++cell) DrawCell(static_cast<int32_t>(cell));
    }
    CopyVisible();
    comedCount_ = n;
}

void TProgressPanel::ScrollBarScroll(ui::TComponent*, ui::TScrollCode, int& position) {
    const int p = position;
    const int max = scrollBar_->Max();
    scrollPosition_ = p > max - rows_ ? max - rows_ + 1 : p;
    RenderVisible();
    CopyVisible();
}

void TProgressPanel::CopyVisibleTo(HDC dc) {
    if (!surface_ || surface_->Empty()) return;
    BitBlt(dc, 0, 0, chartWidth_, chartHeight_, surface_->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TProgressPanel::CopyVisible() {
    if (!handle_ || !IsWindowVisible(handle_)) return;
    HDC dc = GetDC(handle_);
    CopyVisibleTo(dc);
    ReleaseDC(handle_, dc);
}

void TProgressPanel::Paint(ui::TCanvas& canvas) {
    ui::TCustomPanel::Paint(canvas);
    CopyVisibleTo(canvas.Handle());
}

bool TProgressPanel::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "DidBitmap" || name == "TryBitmap") {
        ui::TBitmap& target = name == "DidBitmap" ? *didBitmap_ : *tryBitmap_;
        if (!target.LoadFromResourceName(v.AsText())) throw ui::Exception("Bitmap resource " + v.text + " not found");
        return true;
    }
    if (name == "TotalCount") {
        SetTotalCount(v.AsInt());
        return true;
    }
    if (name == "ComedCount") {
        SetComedCount(v.AsInt());
        return true;
    }
    return ui::TCustomPanel::SetProperty(name, v, reader);
}
