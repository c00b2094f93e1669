// Image lists over the common controls' image lists; pictures come from bitmap resources of the
// program, one strip of equal images, with magenta as the transparent colour.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Component.h"
#include "Graphics.h"

namespace ui {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);
    int Count() const;
    HIMAGELIST Handle();
    // Appends the images of a strip bitmap resource; answers how many were added.
    int AddResource(const std::string& resourceName);
    // Appends a strip cut into images of the list's width: masked where it has the given colour,
    // or wholly opaque. Answers how many images were added.
    int AddMasked(const TBitmap& strip, TColor maskColor);
    int Add(const TBitmap& strip);
    // Draws image `index`; an index outside the list draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // Copies image `index` into a bitmap of the list's image size; false for an index outside.
    bool GetBitmap(int index, TBitmap& into);

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

private:
    int AddStrip(const TBitmap& strip, const COLORREF* maskColor);

    int width_ = 16, height_ = 16;
    HIMAGELIST handle_ = nullptr;
};

}  // namespace ui
