#include "skin_test_support.h"

#include "base/gdi.h"
#include "framework/resources.h"

namespace {

// A 32-bit top-down picture whose bits are read back directly.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader = DibHeader(width, -height, 32);
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        selected_ = SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~Canvas() { SelectObject(dc_.Get(), selected_); }

    HDC Dc() const { return dc_.Get(); }

    Picture Read() const
    {
        GdiFlush();
        Picture picture;
        picture.width = width_;
        picture.height = height_;
        for (int i = 0; i < width_ * height_; ++i) {
            DWORD bgr = bits_[i];
            picture.pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
        }
        return picture;
    }

private:
    int width_, height_;
    MemoryDC dc_;
    Bitmap bitmap_;
    DWORD* bits_ = nullptr;
    HGDIOBJ selected_ = nullptr;
};

}  // namespace

bool Picture::AllOf(COLORREF colour) const
{
    for (COLORREF pixel : pixels)
        if (pixel != colour) return false;
    return !pixels.empty();
}

SIZE SizeOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

Picture RenderControl(HWND control, COLORREF background)
{
    RECT client{};
    GetClientRect(control, &client);
    Canvas canvas(client.right, client.bottom);
    Brush fill(CreateSolidBrush(background));
    FillRect(canvas.Dc(), &client, fill.Get());
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    return canvas.Read();
}

Picture PictureOf(HBITMAP bitmap)
{
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    Canvas canvas(size.bmWidth, size.bmHeight);
    MemoryDC source;
    SelectedObject selected(source.Get(), bitmap);
    BitBlt(canvas.Dc(), 0, 0, size.bmWidth, size.bmHeight, source.Get(), 0, 0, SRCCOPY);
    return canvas.Read();
}

Picture PictureOfResource(const char* name)
{
    Bitmap bitmap = LoadMappedBitmap(name);
    return bitmap ? PictureOf(bitmap.Get()) : Picture{};
}

bool SamePicture(const Picture& a, const Picture& b)
{
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

Picture CaptureClient(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    Canvas canvas(client.right, client.bottom);
    ClientDC screen(window);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, screen.Get(), 0, 0, SRCCOPY);
    return canvas.Read();
}
