#include "ImgList.h"

#include "Reader.h"

namespace ui {

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
    if (handle_) ImageList_Destroy(handle_);
}

void TImageList::SetSize(int width, int height) {
    if (handle_) {
        ImageList_Destroy(handle_);
        handle_ = nullptr;
    }
    width_ = width;
    height_ = height;
}

HIMAGELIST TImageList::Handle() {
    if (!handle_) handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 8, 8);
    return handle_;
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::AddResource(const std::string& resourceName) {
    TBitmap strip;
    if (!strip.LoadFromResourceName(resourceName)) throw Exception("Bitmap resource " + resourceName + " not found");
    return AddMasked(strip, clFuchsia);
}

int TImageList::AddMasked(const TBitmap& strip, TColor maskColor) {
    const COLORREF mask = ColorToRGB(maskColor);
    return AddStrip(strip, &mask);
}

int TImageList::Add(const TBitmap& strip) { return AddStrip(strip, nullptr); }

int TImageList::AddStrip(const TBitmap& strip, const COLORREF* maskColor) {
    if (strip.Empty() || width_ <= 0 || height_ <= 0 || !Handle()) return 0;
    // Copy into a device-dependent bitmap that the image list takes as it is.
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, strip.Width(), strip.Height());
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.CanvasHandle(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    const int before = Count();
    if (maskColor) ImageList_AddMasked(handle_, copy, *maskColor);
    else ImageList_Add(handle_, copy, nullptr);
    DeleteObject(copy);
    return Count() - before;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (!handle_ || index < 0 || index >= Count()) return;
    ImageList_DrawEx(handle_, index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT,
                     enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
}

bool TImageList::GetBitmap(int index, TBitmap& into) {
    if (!handle_ || index < 0 || index >= Count()) return false;
    into.SetSize(width_, height_);
    ImageList_DrawEx(handle_, index, into.Canvas().Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
    return true;
}

bool TImageList::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Width") {
        SetSize(v.AsInt(), height_);
    } else if (name == "Height") {
        SetSize(width_, v.AsInt());
    } else if (name == "Bitmap") {
        AddResource(v.AsText());
    } else if (name == "Left" || name == "Top" || name == "ShareImages") {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
