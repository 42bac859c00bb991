// The memory canvas and the GDI owners against the system's GDI: what they
// own goes with them, what they only show stays, a moved owner leaves nothing
// to free twice, and a selection is undone.
#include "host/common/memory_canvas_win32.h"

#include "host/common/gdi_object_win32.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool Alive(HGDIOBJ object) {
    return GetObjectType(object) != 0;
}

TEST(MemoryCanvas, OwnsWhatItMadeAndOnlyShowsWhatItWasLent) {
    HDC kept = nullptr;
    {
        const MemoryCanvas canvas = MemoryCanvas::Compatible(nullptr, 20, 10);
        ASSERT_TRUE(canvas);
        EXPECT_EQ(canvas.Width(), 20);
        EXPECT_EQ(canvas.Height(), 10);
        kept = canvas.Dc();
        EXPECT_TRUE(Alive(kept));
    }
    EXPECT_FALSE(Alive(kept));

    const HBITMAP lent = CreateBitmap(4, 3, 1, 32, nullptr);
    ASSERT_TRUE(Alive(lent));
    {
        const MemoryCanvas view = MemoryCanvas::Viewing(nullptr, lent);
        ASSERT_TRUE(view);
        EXPECT_EQ(view.Width(), 4);
        EXPECT_EQ(view.Height(), 3);
    }
    EXPECT_TRUE(Alive(lent));
    {
        const MemoryCanvas owner = MemoryCanvas::Owning(nullptr, lent);
        ASSERT_TRUE(owner);
    }
    EXPECT_FALSE(Alive(lent));
}

TEST(MemoryCanvas, AMovedCanvasIsEmptyAndTheNewOwnerFreesOnce) {
    MemoryCanvas first = MemoryCanvas::Compatible(nullptr, 8, 8);
    ASSERT_TRUE(first);
    const HDC dc = first.Dc();
    MemoryCanvas second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(first.Dc(), nullptr);
    EXPECT_EQ(second.Dc(), dc);
    second = MemoryCanvas::Compatible(nullptr, 2, 2);  // the old one goes now
    EXPECT_FALSE(Alive(dc));
    EXPECT_TRUE(second);
}

TEST(MemoryCanvas, FailuresGiveAnEmptyCanvas) {
    EXPECT_FALSE(MemoryCanvas::Compatible(nullptr, 0, 5));
    EXPECT_FALSE(MemoryCanvas::Compatible(nullptr, 5, -1));
    EXPECT_FALSE(MemoryCanvas::Dib24(0, 0));
    EXPECT_FALSE(MemoryCanvas::Owning(nullptr, nullptr));
    EXPECT_FALSE(MemoryCanvas::Viewing(nullptr, nullptr));
}

TEST(MemoryCanvas, ADibCanvasShowsItsPixelsBottomRowFirst) {
    const MemoryCanvas canvas = MemoryCanvas::Dib24(3, 2);
    ASSERT_TRUE(canvas);
    ASSERT_NE(canvas.Bits(), nullptr);
    canvas.Fill(RGB(0x10, 0x20, 0x30));
    SetPixel(canvas.Dc(), 0, 0, RGB(0xFF, 0x00, 0x00));  // top-left
    GdiFlush();
    const auto* bytes = static_cast<const unsigned char*>(canvas.Bits());
    // Rows of 3 pixels take 12 bytes with their padding; the top row is the second.
    EXPECT_EQ(bytes[0], 0x30);  // bottom-left, blue first
    EXPECT_EQ(bytes[1], 0x20);
    EXPECT_EQ(bytes[2], 0x10);
    EXPECT_EQ(bytes[12 + 0], 0x00);
    EXPECT_EQ(bytes[12 + 2], 0xFF);
}

TEST(GdiOwners, AnObjectGoesWithItsLastOwnerAndASelectionIsUndone) {
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    {
        OwnedFont first(font);
        OwnedFont second = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), font);
        const MemoryCanvas canvas = MemoryCanvas::Compatible(nullptr, 4, 4);
        const HGDIOBJ before = GetCurrentObject(canvas.Dc(), OBJ_FONT);
        {
            const SelectedObject selected(canvas.Dc(), second.Get());
            EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), font);
        }
        EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), before);
        EXPECT_TRUE(Alive(font));
    }
    EXPECT_FALSE(Alive(font));
}

}  // namespace
