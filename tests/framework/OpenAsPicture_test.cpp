#include "common/MediaFiles.h"
#include "common/TestSupport.h"

#include <framework/FolderItem.h>
#include <framework/Graphics.h>
#include <framework/Picture.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

using namespace fw;
using test::PixelAt;

namespace {
std::filesystem::path Dir()
{
    auto d = test::Home() / "pictures";
    std::filesystem::create_directories(d);
    return d;
}
Ref<FolderItem> Item(const char* name) { return New<FolderItem>((Dir() / name).string()); }
} // namespace

TEST(OpenAsPicture, ReadsAPngWithItsSizeAndPixels)
{
    test::WritePng(Dir() / "p.png", 3, 2, [](int x, int y) { return x == 2 && y == 1 ? 0xFF0000u : 0x102030u; });
    Ref<Picture> p = Item("p.png")->OpenAsPicture();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Width(), 3);
    EXPECT_EQ(p->Height(), 2);
    EXPECT_EQ(PixelAt(p, 0, 0), 0x102030u);
    EXPECT_EQ(PixelAt(p, 2, 1), 0xFF0000u);
    EXPECT_EQ(p->Transparent(), 0);
    EXPECT_EQ(Item("p.png")->LastErrorCode(), 0);
}

TEST(OpenAsPicture, NilForAnythingThatIsNotAReadablePng)
{
    const std::string png = test::PngBytes(8, 8, [](int, int) { return 0x00FF00u; });
    test::WriteFile(Dir() / "empty.png", "");
    test::WriteFile(Dir() / "text.png", "not a picture at all");
    test::WriteFile(Dir() / "cut.png", png.substr(0, png.size() / 2));
    std::string damaged = png;
    damaged[20] ^= 0x55; // the header chunk's checksum no longer matches
    test::WriteFile(Dir() / "damaged.png", damaged);
    std::filesystem::create_directories(Dir() / "folder.png");
    ASSERT_EQ(mkfifo((Dir() / "fifo.png").c_str(), 0600), 0);

    Ref<FolderItem> missing = Item("missing.png");
    EXPECT_FALSE(missing->OpenAsPicture());
    EXPECT_EQ(missing->LastErrorCode(), ENOENT);
    for (const char* name : { "empty.png", "text.png", "cut.png", "damaged.png", "folder.png", "fifo.png" }) {
        Ref<FolderItem> item = Item(name);
        EXPECT_FALSE(item->OpenAsPicture()) << name;
        EXPECT_NE(item->LastErrorCode(), 0) << name;
    }
}

TEST(OpenAsPicture, TransparentOneDrawsOnlyPureWhiteAsTransparent)
{
    test::WritePng(Dir() / "m.png", 3, 1, [](int x, int) { return x == 0 ? 0xFFFFFFu : x == 1 ? 0xFEFFFFu : 0x0000FFu; });
    Ref<Picture> marker = Item("m.png")->OpenAsPicture();
    ASSERT_TRUE(marker);
    marker->Transparent(1);
    auto target = New<Picture>(3, 1, 32);
    target->Graphics()->ForeColor(RGB(255, 0, 0));
    target->Graphics()->FillRect(0, 0, 3, 1);
    target->Graphics()->DrawPicture(marker, 0, 0);
    EXPECT_EQ(PixelAt(target, 0, 0), 0xFF0000u) << "pure white lets the ground show";
    EXPECT_EQ(PixelAt(target, 1, 0), 0xFEFFFFu) << "near white is drawn";
    EXPECT_EQ(PixelAt(target, 2, 0), 0x0000FFu);
}
