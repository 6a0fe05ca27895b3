// Owners of GDI handles and selections, shared by the toolkit's Win32 files. Each owner stores all that
// its release needs (the context it selected into, the window whose context it holds), releases at the
// end of its scope, and cannot be copied.
#ifndef QR4T_TOOLKIT_GRAPHICS_GDI_OWNERS_WIN_H
#define QR4T_TOOLKIT_GRAPHICS_GDI_OWNERS_WIN_H

#include <windows.h>

// A memory drawing context compatible with another (null: the screen); deleted with its owner.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    ~MemoryDc()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A bitmap compatible with a context; deleted with its owner.
class CompatibleBitmap {
public:
    CompatibleBitmap(HDC dc, int width, int height) : bitmap_(CreateCompatibleBitmap(dc, width, height)) {}
    ~CompatibleBitmap()
    {
        if (bitmap_)
            DeleteObject(bitmap_);
    }
    CompatibleBitmap(const CompatibleBitmap&) = delete;
    CompatibleBitmap& operator=(const CompatibleBitmap&) = delete;
    HBITMAP get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// The client context of a window (null: the screen), obtained with GetDC and given back with ReleaseDC
// to the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a context; the object it replaced is selected back into that same context
// with its owner (or at restore()).
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(dc ? SelectObject(dc, object) : nullptr) {}
    ~Selection() { restore(); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    bool ok() const { return replaced_ != nullptr && replaced_ != HGDI_ERROR; }
    void restore()
    {
        if (ok())
            SelectObject(dc_, replaced_);
        replaced_ = nullptr;
    }

private:
    HDC dc_;
    HGDIOBJ replaced_;
};

// A palette selected into a context and realised; the palette it replaced is selected back into that
// context with its owner. A null palette selects nothing.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc), replaced_(nullptr)
    {
        if (dc && palette) {
            replaced_ = SelectPalette(dc, palette, FALSE);
            RealizePalette(dc);
        }
    }
    ~PaletteSelection()
    {
        if (replaced_)
            SelectPalette(dc_, replaced_, FALSE);
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE replaced_;
};

// A reference context for making compatible contexts and bitmaps: the given context when there is one
// (not owned), else the screen's, released with its owner.
class ReferenceDc {
public:
    explicit ReferenceDc(HDC current) : dc_(current), owned_(current ? nullptr : GetDC(nullptr))
    {
        if (!dc_)
            dc_ = owned_;
    }
    ~ReferenceDc()
    {
        if (owned_)
            ReleaseDC(nullptr, owned_);
    }
    ReferenceDc(const ReferenceDc&) = delete;
    ReferenceDc& operator=(const ReferenceDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HDC owned_;  // the screen's context when no context was given
};

// A memory context compatible with a reference context with a bitmap selected into it; the bitmap is
// selected out and the context deleted with the owner. get() is null when the bitmap cannot be selected.
class BitmapDc {
public:
    BitmapDc(HDC reference, HBITMAP bitmap) : memory_(reference), selection_(memory_.get(), bitmap) {}
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    HDC get() const { return selection_.ok() ? memory_.get() : nullptr; }

private:
    MemoryDc memory_;
    Selection selection_;  // declared after the context: selected out before the context is deleted
};

// The brush and pen of a shape, owned: selected into a context (the null brush or pen where there is
// none), selected out of that same context and deleted with the owner. A clip region, when given, is
// applied for the owner's life.
class ShapeObjects {
public:
    ShapeObjects(HDC dc, HBRUSH brush, HPEN pen, HRGN clip)
        : dc_(dc), brush_(brush), pen_(pen), clip_(clip),
          brush_selection_(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH)),
          pen_selection_(dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN))
    {
        if (clip_ && dc_)
            SelectClipRgn(dc_, clip_);
    }
    ~ShapeObjects()
    {
        if (clip_ && dc_)
            SelectClipRgn(dc_, nullptr);
        pen_selection_.restore();
        brush_selection_.restore();
        if (pen_)
            DeleteObject(pen_);
        if (brush_)
            DeleteObject(brush_);
    }
    ShapeObjects(const ShapeObjects&) = delete;
    ShapeObjects& operator=(const ShapeObjects&) = delete;

private:
    HDC dc_;
    HBRUSH brush_;
    HPEN pen_;
    HRGN clip_;
    Selection brush_selection_;
    Selection pen_selection_;
};

// A solid brush of one colour, remade only when the colour changes; deleted with its owner.
class SolidBrush {
public:
    SolidBrush() = default;
    ~SolidBrush()
    {
        if (brush_)
            DeleteObject(brush_);
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    HBRUSH get(COLORREF colour)
    {
        if (!brush_ || colour != colour_) {
            if (brush_)
                DeleteObject(brush_);
            brush_ = CreateSolidBrush(colour);
            colour_ = colour;
        }
        return brush_;
    }

private:
    HBRUSH brush_ = nullptr;
    COLORREF colour_ = 0;
};

// The bitmap or icon that a button or static field shows; the image it replaces, and the last one with
// the owner, is deleted. Type IMAGE_BITMAP or IMAGE_ICON.
class ShownImage {
public:
    ShownImage() = default;
    ~ShownImage() { reset(nullptr, IMAGE_BITMAP); }
    ShownImage(const ShownImage&) = delete;
    ShownImage& operator=(const ShownImage&) = delete;
    void reset(HANDLE image, UINT type)
    {
        if (image_ && image_ != image) {
            if (type_ == IMAGE_ICON)
                DestroyIcon(static_cast<HICON>(image_));
            else
                DeleteObject(image_);
        }
        image_ = image;
        type_ = type;
    }
    HANDLE get() const { return image_; }
    UINT type() const { return type_; }

private:
    HANDLE image_ = nullptr;
    UINT type_ = IMAGE_BITMAP;
};

#endif
