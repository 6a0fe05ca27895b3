// The owners of GDI handles and selections (toolkit/graphics/gdi_owners_win.h): each gives back what it
// took to the context it took it from, frees what it made, and cannot be copied.
#include "toolkit/graphics/gdi_owners_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <type_traits>

namespace {

static_assert(!std::is_copy_constructible_v<MemoryDc> && !std::is_copy_assignable_v<MemoryDc>);
static_assert(!std::is_copy_constructible_v<CompatibleBitmap> &&
              !std::is_copy_assignable_v<CompatibleBitmap>);
static_assert(!std::is_copy_constructible_v<WindowDc> && !std::is_copy_assignable_v<WindowDc>);
static_assert(!std::is_copy_constructible_v<Selection> && !std::is_copy_assignable_v<Selection>);
static_assert(!std::is_copy_constructible_v<PaletteSelection> &&
              !std::is_copy_assignable_v<PaletteSelection>);
static_assert(!std::is_copy_constructible_v<ReferenceDc> && !std::is_copy_assignable_v<ReferenceDc>);
static_assert(!std::is_copy_constructible_v<BitmapDc> && !std::is_copy_assignable_v<BitmapDc>);
static_assert(!std::is_copy_constructible_v<ShapeObjects> && !std::is_copy_assignable_v<ShapeObjects>);
static_assert(!std::is_copy_constructible_v<SolidBrush> && !std::is_copy_assignable_v<SolidBrush>);

// Two memory contexts of the screen, each with a small bitmap, as a drawing surface and another.
struct TwoContexts {
    WindowDc screen{nullptr};
    MemoryDc a{screen.get()};
    MemoryDc b{screen.get()};
    CompatibleBitmap bitmap_a{screen.get(), 8, 8};
    CompatibleBitmap bitmap_b{screen.get(), 8, 8};
    Selection surface_a{a.get(), bitmap_a.get()};
    Selection surface_b{b.get(), bitmap_b.get()};
};

}  // namespace

// Fault mended: the shape's brush and pen were selected back into whatever context was current at the
// end of the shape, not the one they were selected into; the first context kept deleted objects.
TEST(GdiOwners, ShapeObjectsRestoreIntoTheirOwnContextAndFreeTheirObjects)
{
    TwoContexts c;
    ASSERT_TRUE(c.surface_a.ok());
    ASSERT_TRUE(c.surface_b.ok());
    HGDIOBJ brush_a = GetCurrentObject(c.a.get(), OBJ_BRUSH);
    HGDIOBJ pen_a = GetCurrentObject(c.a.get(), OBJ_PEN);
    HGDIOBJ brush_b = GetCurrentObject(c.b.get(), OBJ_BRUSH);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(40, 50, 60));
    {
        ShapeObjects shape(c.a.get(), brush, pen, nullptr);
        EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_BRUSH), brush);
        EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_PEN), pen);
        // Another context in use meanwhile changes nothing of the restore.
        SelectObject(c.b.get(), GetStockObject(BLACK_BRUSH));
    }
    EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_BRUSH), brush_a);
    EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_PEN), pen_a);
    EXPECT_EQ(GetCurrentObject(c.b.get(), OBJ_BRUSH), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetObjectType(brush), 0u) << "the brush is deleted with its owner";
    EXPECT_EQ(GetObjectType(pen), 0u) << "the pen is deleted with its owner";
    SelectObject(c.b.get(), brush_b);
}

TEST(GdiOwners, ShapeObjectsWithoutPenOrBrushSelectTheNullOnes)
{
    TwoContexts c;
    {
        ShapeObjects shape(c.a.get(), nullptr, nullptr, nullptr);
        EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
        EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_PEN), GetStockObject(NULL_PEN));
    }
    EXPECT_NE(GetCurrentObject(c.a.get(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
}

TEST(GdiOwners, BitmapDcSelectsTheBitmapOutAgain)
{
    WindowDc screen(nullptr);
    ASSERT_NE(screen.get(), nullptr);
    CompatibleBitmap bitmap(screen.get(), 4, 4);
    {
        BitmapDc dc(screen.get(), bitmap.get());
        ASSERT_NE(dc.get(), nullptr);
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
        // A bitmap is selected into one context at a time: a second one cannot take it now.
        BitmapDc second(screen.get(), bitmap.get());
        EXPECT_EQ(second.get(), nullptr);
    }
    BitmapDc again(screen.get(), bitmap.get());
    EXPECT_NE(again.get(), nullptr) << "the first owner selected the bitmap out of its context";
}

TEST(GdiOwners, SelectionOfAnInvalidObjectRestoresNothing)
{
    TwoContexts c;
    HGDIOBJ before = GetCurrentObject(c.a.get(), OBJ_BRUSH);
    {
        Selection bad(c.a.get(), nullptr);
        EXPECT_FALSE(bad.ok());
    }
    EXPECT_EQ(GetCurrentObject(c.a.get(), OBJ_BRUSH), before);
}

TEST(GdiOwners, ReferenceDcIsTheGivenContextOrTheScreens)
{
    TwoContexts c;
    ReferenceDc given(c.a.get());
    EXPECT_EQ(given.get(), c.a.get());
    ReferenceDc screen(nullptr);
    EXPECT_NE(screen.get(), nullptr);
    EXPECT_EQ(GetDeviceCaps(screen.get(), TECHNOLOGY), DT_RASDISPLAY);
}

TEST(GdiOwners, SolidBrushIsRemadeOnlyForANewColourAndTheOldOneFreed)
{
    SolidBrush brush;
    HBRUSH first = brush.get(RGB(1, 2, 3));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(brush.get(RGB(1, 2, 3)), first);
    HBRUSH second = brush.get(RGB(4, 5, 6));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetObjectType(first), 0u);
    LOGBRUSH lb = {};
    ASSERT_NE(GetObjectA(second, sizeof lb, &lb), 0);
    EXPECT_EQ(lb.lbColor, RGB(4, 5, 6));
}

// A shown image frees the image it replaces, a bitmap with DeleteObject and an icon with DestroyIcon,
// keeps one given again, and frees the last with itself.
TEST(GdiOwners, ShownImageFreesWhatItReplaces)
{
    static_assert(!std::is_copy_constructible_v<ShownImage> && !std::is_copy_assignable_v<ShownImage>);
    WindowDc screen(nullptr);
    HBITMAP first = CreateCompatibleBitmap(screen.get(), 4, 4);
    HICON icon = CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));  // IDI_APPLICATION
    ASSERT_NE(icon, nullptr);
    HBITMAP last = CreateCompatibleBitmap(screen.get(), 4, 4);
    {
        ShownImage image;
        image.reset(first, IMAGE_BITMAP);
        image.reset(first, IMAGE_BITMAP);
        EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BITMAP)) << "given again: kept";
        image.reset(icon, IMAGE_ICON);
        EXPECT_EQ(GetObjectType(first), 0u);
        EXPECT_EQ(image.type(), static_cast<UINT>(IMAGE_ICON));
        image.reset(last, IMAGE_BITMAP);
        ICONINFO info = {};
        EXPECT_FALSE(GetIconInfo(icon, &info)) << "the icon is destroyed";
        EXPECT_EQ(image.get(), last);
    }
    EXPECT_EQ(GetObjectType(last), 0u);
}
