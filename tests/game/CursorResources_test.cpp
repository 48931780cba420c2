#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <game/Appl.h>
#include <game/CursorResources.h>

#include <framework/Application.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fw;

namespace {

fs::path ResourceFile() { return test::BundleResources() / "horomine.rsrc"; }

// Cursor 168 with its hot spot at the centre, 169 at the top left; each with
// one black pixel where its hot spot is.
void PutCursors()
{
    uint16_t point[16] = {}, start[16] = {}, mask[16] = {};
    point[7] = 0x0100;
    start[0] = 0x8000;
    for (auto& m : mask)
        m = 0xFFFF;
    test::WriteFile(ResourceFile(),
        test::ResourceFileBytes({ { "CURS", 168, test::CursorData(point, mask, 7, 7) },
            { "CURS", 169, test::CursorData(start, mask, 0, 0) } }));
}

} // namespace

TEST(CursorResources, NeedTheApplicationObjectAndTryAgainOnceThereIsOne)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    PutCursors();
    EXPECT_THROW(PointCursor(), NilObjectException);
    EXPECT_THROW(StartCursor(), NilObjectException);
    RuntimeRegisterAppObject(New<Appl>());
    Ref<MouseCursor> point = PointCursor();
    ASSERT_TRUE(point) << "the failed call left the cache empty";
    EXPECT_EQ(point->HotSpotX(), 7);
    EXPECT_EQ(point->HotSpotY(), 7);
    EXPECT_TRUE(point->ImagePixel(7, 7));
    EXPECT_TRUE(point->MaskPixel(0, 15));
    Ref<MouseCursor> start = StartCursor();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->HotSpotX(), 0);
    EXPECT_TRUE(start->ImagePixel(0, 0));

    // Kept: a missing application object or file plays no part any more.
    RuntimeRegisterAppObject(nullptr);
    fs::remove(ResourceFile());
    EXPECT_EQ(PointCursor(), point);
    EXPECT_EQ(StartCursor(), start);
}

TEST(CursorResources, MissingOrDamagedFileGivesNilUntilMended)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    RuntimeRegisterAppObject(New<Appl>());
    EXPECT_FALSE(PointCursor());
    EXPECT_FALSE(StartCursor());
    test::WriteFile(ResourceFile(), std::string("\x00\x00\x01\x00 damaged", 12));
    EXPECT_FALSE(PointCursor());
    fs::remove_all(test::BundleResources());
    EXPECT_FALSE(StartCursor()) << "no Resources folder at all";

    fs::create_directory(test::BundleResources());
    PutCursors();
    EXPECT_TRUE(PointCursor());
    EXPECT_TRUE(StartCursor());
}

TEST(CursorResources, ReleaseEmptiesBothCaches)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    RuntimeRegisterAppObject(New<Appl>());
    PutCursors();
    WeakRef<MouseCursor> point = PointCursor();
    WeakRef<MouseCursor> start = StartCursor();
    ASSERT_FALSE(point.Expired());
    ReleaseCursorCaches();
    EXPECT_TRUE(point.Expired());
    EXPECT_TRUE(start.Expired());
    EXPECT_TRUE(PointCursor()) << "a cursor is looked for again while its cache is nil";
}
