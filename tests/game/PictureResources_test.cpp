#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <game/PictureResources.h>

#include <gtest/gtest.h>

#include <vector>

namespace fs = std::filesystem;
using namespace fw;

// Every test runs in a process of its own, so every accessor starts with
// an empty cache.
namespace {

struct Accessor {
    const char* file;
    Ref<Picture> (*get)();
    bool transparent;
};

const std::vector<Accessor>& Accessors()
{
    static const std::vector<Accessor> all = {
        { "IconPict.png", IconPict, false },
        { "TamberlynPict.png", TamberlynPict, false },
        { "MarkerPict.png", MarkerPict, true },
        { "Back0Pict.png", Back0Pict, false },
        { "Back1Pict.png", Back1Pict, false },
        { "Back2Pict.png", Back2Pict, false },
        { "Back3Pict.png", Back3Pict, false },
        { "Back4Pict.png", Back4Pict, false },
        { "HitPict.png", HitPict, true },
        { "NearPict.png", NearPict, true },
    };
    return all;
}

void Put(const char* name, int width = 4, int height = 3)
{
    test::WritePng(test::BundleResources() / name, width, height, [](int x, int) { return x == 0 ? 0xFFFFFFu : 0x3050A0u; });
}

} // namespace

TEST(PictureResources, EachReadsItsOwnFile)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    // A different width for every file tells which file each accessor read.
    for (size_t i = 0; i < Accessors().size(); ++i)
        Put(Accessors()[i].file, 10 + static_cast<int>(i), 2);
    for (size_t i = 0; i < Accessors().size(); ++i) {
        const Accessor& a = Accessors()[i];
        Ref<Picture> p = a.get();
        ASSERT_TRUE(p) << a.file;
        EXPECT_EQ(p->Width(), 10 + static_cast<int>(i)) << a.file;
        EXPECT_EQ(p->Transparent(), a.transparent ? 1 : 0) << a.file;
    }
}

TEST(PictureResources, MissingAtFirstAndLoadedWhenItAppears)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    EXPECT_FALSE(HitPict());
    EXPECT_FALSE(HitPict()) << "still missing";
    Put("HitPict.png");
    Ref<Picture> hit = HitPict();
    ASSERT_TRUE(hit) << "tried again while nil";
    EXPECT_EQ(hit->Transparent(), 1) << "made transparent when it loads";

    // Loaded once: the file plays no part any more.
    fs::remove(test::BundleResources() / "HitPict.png");
    EXPECT_EQ(HitPict(), hit);
    Put("HitPict.png", 9, 9);
    EXPECT_EQ(HitPict(), hit);
}

TEST(PictureResources, TransparentIsSetOnceRightAfterTheLoad)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    Put("MarkerPict.png");
    Ref<Picture> marker = MarkerPict();
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->Transparent(), 1);
    marker->Transparent(0);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(MarkerPict(), marker);
    EXPECT_EQ(marker->Transparent(), 0) << "not set again on later requests";
}

TEST(PictureResources, EmptyOrDamagedFilesGiveNilUntilMended)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    test::WriteFile(test::BundleResources() / "Back2Pict.png", "");
    std::string png = test::PngBytes(480, 300, [](int, int) { return 0xEEEEEEu; });
    test::WriteFile(test::BundleResources() / "NearPict.png", png.substr(0, png.size() - 100));
    EXPECT_FALSE(Back2Pict());
    EXPECT_FALSE(NearPict());
    test::WriteFile(test::BundleResources() / "Back2Pict.png", png);
    test::WriteFile(test::BundleResources() / "NearPict.png", png);
    ASSERT_TRUE(Back2Pict());
    EXPECT_EQ(Back2Pict()->Width(), 480);
    ASSERT_TRUE(NearPict());
    EXPECT_EQ(NearPict()->Transparent(), 1);
}

TEST(PictureResources, NoResourcesFolderGivesNilAndTheFolderIsLookedForAgain)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    fs::remove_all(test::BundleResources());
    for (const Accessor& a : Accessors())
        EXPECT_FALSE(a.get()) << a.file;
    fs::create_directory(test::BundleResources());
    Put("Back4Pict.png");
    EXPECT_TRUE(Back4Pict());
    EXPECT_FALSE(Back3Pict());
}
