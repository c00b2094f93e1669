// A panel that shows a download as a grid of equal cells: received blocks in one picture, pending
// blocks in another, rows filling the panel's width, and a vertical scroll bar when the grid is
// taller than the panel.
//
// Only the visible page is kept off screen: a grid of a million cells would otherwise need a
// bitmap of hundreds of megabytes. Which cells show as received is remembered as ranges, so the
// picture is the one a bitmap of the whole grid would give.
#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "ExtCtrls.h"
#include "StdCtrls.h"

class TProgressPanel : public ui::TCustomPanel {
public:
    explicit TProgressPanel(ui::TComponent* owner);
    ~TProgressPanel() override;

    void SetName(const std::string& name) override;

    ui::TBitmap& DidBitmap() { return *didBitmap_; }
    ui::TBitmap& TryBitmap() { return *tryBitmap_; }
    void SetDidBitmap(const ui::TBitmap& picture) { didBitmap_->Assign(picture); }
    void SetTryBitmap(const ui::TBitmap& picture) { tryBitmap_->Assign(picture); }
    ui::TScrollBar& ScrollBar() { return *scrollBar_; }

    int32_t TotalCount() const { return totalCount_; }
    int32_t ComedCount() const { return comedCount_; }
    void SetTotalCount(int32_t n);
    void SetComedCount(int32_t n) { ComedPaint(n); }
    void ForResizeDo() { PreparePaint(); }

    int32_t Columns() const { return columns_; }
    int32_t Rows() const { return rows_; }
    int32_t Pages() const { return pages_; }
    int32_t ScrollPosition() const { return scrollPosition_; }
    // Size of the off-screen surface, (0, 0) before the first layout.
    std::pair<int, int> SurfaceSize() const { return {surface_ ? surface_->Width() : 0, surface_ ? surface_->Height() : 0}; }

    void ScrollBarScroll(ui::TComponent* sender, ui::TScrollCode code, int& position);

    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void Paint(ui::TCanvas& canvas) override;

private:
    void PictureChanged(ui::TBitmap& picture);
    bool Layout(int32_t scrollTo);
    void PreparePaint();
    void TotalPaint();
    void ComedPaint(int32_t n);
    void MarkReceived(int32_t from, int32_t to);
    bool IsReceived(int32_t cell) const;
    void DrawCell(int32_t cell);  // onto the surface, when it lies on the visible page
    void RenderVisible();
    void CopyVisible();
    void CopyVisibleTo(HDC dc);

    std::unique_ptr<ui::TBitmap> didBitmap_, tryBitmap_;
    ui::TScrollBar* scrollBar_ = nullptr;  // owned as a component of the panel
    int32_t totalCount_ = 0, comedCount_ = 0;
    int32_t cellWidth_ = 0, cellHeight_ = 0;
    int32_t columns_ = 0, rows_ = 0;
    int32_t chartWidth_ = 0, chartHeight_ = 0;
    int32_t scrollPosition_ = 0;
    int32_t pages_ = 1;
    std::vector<std::pair<int32_t, int32_t>> received_;  // cells drawn as received, [from, to)
    std::unique_ptr<ui::TBitmap> surface_;
};
