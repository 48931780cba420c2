#include "common/TemporaryBundle.h"

#include <game/Appl.h>
#include <game/CursorResources.h>
#include <game/PictureResources.h>
#include <offscreen/TargetSystemPict.h>

#include <framework/Application.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fw;

// The media the build made, read through the game's own accessors as the
// game reads them.
namespace {
void CopyBuiltMedia()
{
    fs::copy(fs::path(HOROMINE_BUNDLE_DIR) / "Resources", test::BundleResources(),
        fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void ExpectSize(const Ref<Picture>& p, int w, int h, const char* name)
{
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->Width(), w) << name;
    EXPECT_EQ(p->Height(), h) << name;
}
} // namespace

TEST(BundledMedia, EveryPictureLoadsWithItsSize)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    CopyBuiltMedia();
    ExpectSize(Back0Pict(), 480, 300, "Back0Pict");
    ExpectSize(Back1Pict(), 480, 300, "Back1Pict");
    ExpectSize(Back2Pict(), 480, 300, "Back2Pict");
    ExpectSize(Back3Pict(), 480, 300, "Back3Pict");
    ExpectSize(Back4Pict(), 480, 300, "Back4Pict");
    ExpectSize(MarkerPict(), 16, 64, "MarkerPict");
    ExpectSize(IconPict(), 32, 32, "IconPict");
    ExpectSize(TamberlynPict(), 32, 32, "TamberlynPict");
    for (auto [p, name] : { std::pair { HitPict(), "HitPict" }, std::pair { NearPict(), "NearPict" } }) {
        ASSERT_TRUE(p) << name;
        EXPECT_LE(p->Width(), 180) << name;
        EXPECT_LE(p->Height(), 90) << name;
        EXPECT_EQ(p->Transparent(), 1) << name;
    }
    Ref<Picture> badges = TargetSystemPict();
    ASSERT_TRUE(badges);
    EXPECT_GE(badges->Width(), 16);
    EXPECT_GE(badges->Height(), 40);
}

TEST(BundledMedia, BothCursorsLoadFromTheApplicationsResourceFile)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    CopyBuiltMedia();
    RuntimeRegisterAppObject(New<Appl>());
    Ref<MouseCursor> point = PointCursor();
    Ref<MouseCursor> start = StartCursor();
    ASSERT_TRUE(point);
    ASSERT_TRUE(start);
    // The crosshair aims with its centre.
    EXPECT_GE(point->HotSpotX(), 7);
    EXPECT_LE(point->HotSpotX(), 8);
    EXPECT_EQ(point->HotSpotX(), point->HotSpotY());
    for (const Ref<MouseCursor>& c : { point, start })
        EXPECT_TRUE(c->MaskPixel(c->HotSpotX(), c->HotSpotY())) << "the hot spot lies on the visible cursor";
}
