#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <game/Appl.h>
#include <game/CursorResources.h>
#include <game/ResourceCaches.h>
#include <game/SoundResources.h>

#include <framework/Application.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fw;

namespace {
void Put(const char* name) { test::WriteFile(test::BundleResources() / name, test::WavBytes()); }
} // namespace

TEST(SoundResources, EachLoadsOnceAndIsKept)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    for (const char* name : { "SoundVolSnd.wav", "HitSnd.wav", "NearSnd.wav", "OutSnd.wav" })
        Put(name);
    Ref<Sound> vol = SoundVolSnd(), hit = HitSnd(), near = NearSnd(), out = OutSnd();
    ASSERT_TRUE(vol && hit && near && out);
    EXPECT_FALSE(vol == hit || hit == near || near == out);
    fs::remove_all(test::BundleResources());
    EXPECT_EQ(SoundVolSnd(), vol);
    EXPECT_EQ(HitSnd(), hit);
    EXPECT_EQ(NearSnd(), near);
    EXPECT_EQ(OutSnd(), out);
}

TEST(SoundResources, MissingAtTheFirstCallStaysNilForTheRun)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    EXPECT_FALSE(SoundVolSnd());
    Put("SoundVolSnd.wav");
    EXPECT_FALSE(SoundVolSnd()) << "tried once per run";
    Put("HitSnd.wav");
    EXPECT_TRUE(HitSnd()) << "each sound has its own first call";
}

TEST(SoundResources, DamagedMissingOrNoResourcesFolderStaysNilAndIsReportedOnce)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    test::WriteFile(test::BundleResources() / "OutSnd.wav", "");
    test::WriteFile(test::BundleResources() / "NearSnd.wav", test::WavBytes().substr(0, 30));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(OutSnd());
    EXPECT_FALSE(NearSnd());
    EXPECT_FALSE(SoundVolSnd());
    fs::remove_all(test::BundleResources());
    EXPECT_FALSE(HitSnd());
    fs::create_directory(test::BundleResources());
    for (const char* name : { "OutSnd.wav", "NearSnd.wav", "HitSnd.wav", "SoundVolSnd.wav" }) {
        Put(name);
        EXPECT_FALSE(OutSnd() || NearSnd() || HitSnd() || SoundVolSnd());
    }
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string goesOn = "; the game goes on without this sound\n";
    const std::string resources = test::BundleResources().string() + "/";
    EXPECT_EQ(err,
        "horomine: cannot use the sound " + resources + "OutSnd.wav: not a WAV sound that can be played" + goesOn
            + "horomine: cannot use the sound " + resources + "NearSnd.wav: not a WAV sound that can be played" + goesOn
            + "horomine: cannot use the sound " + resources + "SoundVolSnd.wav: No such file or directory" + goesOn
            + "horomine: no Resources folder beside the program to read HitSnd.wav from" + goesOn);
}

TEST(ResourceCaches, ReleaseEmptiesTheSoundAndCursorCachesButNotThePictures)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    for (const char* name : { "SoundVolSnd.wav", "HitSnd.wav", "NearSnd.wav", "OutSnd.wav" })
        Put(name);
    fs::copy_file(fs::path(HOROMINE_BUNDLE_DIR) / "Resources" / "horomine.rsrc",
        test::BundleResources() / "horomine.rsrc");
    RuntimeRegisterAppObject(New<Appl>());
    std::vector<WeakRef<Sound>> sounds { SoundVolSnd(), HitSnd(), NearSnd(), OutSnd() };
    WeakRef<MouseCursor> point = PointCursor(), start = StartCursor();
    for (auto& s : sounds)
        ASSERT_FALSE(s.Expired());
    ASSERT_FALSE(point.Expired());

    ReleaseResourceCaches();
    for (auto& s : sounds)
        EXPECT_TRUE(s.Expired());
    EXPECT_TRUE(point.Expired());
    EXPECT_TRUE(start.Expired());
    EXPECT_FALSE(SoundVolSnd()) << "the sounds are not tried again";
    EXPECT_TRUE(PointCursor()) << "a cursor is looked for while its cache is nil";
}
