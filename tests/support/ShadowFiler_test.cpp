#include "common/TestSupport.h"

#include "prefs/ShadowFiler.h"

#include <framework/Exceptions.h>
#include <framework/Text.h>
#include <framework/TextOutputStream.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

// Watches the exchange without standing in for it.
class WatchedFiler : public ShadowFiler {
public:
    using ShadowFiler::ShadowFiler;
    int calls = 0;
    bool answer = false;
    Ref<MemoryBlock> Spec1() const { return TheFSSP1; }

protected:
    bool TbExchangeFiles(const Ref<FolderItem>& first, const Ref<FolderItem>& second) override
    {
        ++calls;
        answer = ShadowFiler::TbExchangeFiles(first, second);
        return answer;
    }
};

Ref<FolderItem> Item(const fs::path& p) { return New<FolderItem>(p.string()); }

fs::path Prefs() { return test::Home() / ".config"; }

fs::path Temporary() { return test::Home() / "tmp" / ("TemporaryItems-" + std::to_string(geteuid())); }

void Write(const Ref<FolderItem>& f, const std::string& bytes)
{
    auto out = TextOutputStream::Create(f);
    out->Write(bytes);
    out->Close();
}

ino_t Inode(const fs::path& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Each test starts from an empty Preferences folder and temporary folder,
// also when several run in one process.
class ShadowFilerTest : public testing::Test {
protected:
    void SetUp() override { test::EmptyPreferencesAndTemporaryFolders(); }
};

} // namespace

TEST_F(ShadowFilerTest, TheShadowIsTheBaseNameWithACounterInThePrivateTemporaryFolder)
{
    auto base = Item(Prefs() / kName);
    auto filer = New<ShadowFiler>(base);
    EXPECT_EQ(filer->RefStatus(), 1);
    EXPECT_TRUE(filer->RefShadowAvail());
    auto shadow = filer->RefShadowFile();
    EXPECT_EQ(shadow->NativePath(), (Temporary() / (kName + "000001")).string());
    EXPECT_FALSE(shadow->Exists()) << "the caller's writing makes it";
}

TEST_F(ShadowFilerTest, TheStemIsCutByWholeCharactersToAtMost25Bytes)
{
    const std::pair<std::string, std::string> cases[] = {
        { kName, kName },                                                     // 21 bytes
        { std::string(25, 'a'), std::string(25, 'a') },                      // 25 bytes
        { "ほろみねの設定ほろ", "ほろみねの設定ほ" },                      // 27 bytes: 8 characters
        { "abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwxy" }, // 30 bytes
        { "abcdefghijklmnopqrstuvwxほ", "abcdefghijklmnopqrstuvwx" },       // 27 bytes, a character across byte 25
    };
    for (const auto& [name, stem] : cases) {
        auto filer = New<ShadowFiler>(Item(Prefs() / name));
        EXPECT_EQ(filer->RefShadowFile()->Name(), stem + "000001") << name;
        EXPECT_LE(LenB(filer->RefShadowFile()->Name()), 31);
    }
}

TEST_F(ShadowFilerTest, ALiveSavesShadowIsPassedOverAndLeftoversAreCleared)
{
    auto live = New<ShadowFiler>(Item(Prefs() / kName));
    ASSERT_EQ(live->RefShadowFile()->Name(), kName + "000001");
    Write(live->RefShadowFile(), "00live");
    test::WriteFile(Temporary() / (kName + "000002"), "left by a save cut short");
    fs::create_symlink(test::Home() / "nothing", Temporary() / (kName + "000003"));
    fs::create_directories(Temporary() / (kName + "000004") / "full");
    auto filer = New<ShadowFiler>(Item(Prefs() / kName));
    EXPECT_EQ(filer->RefStatus(), 1);
    EXPECT_EQ(filer->RefShadowFile()->Name(), kName + "000002");
    EXPECT_EQ(test::ReadFile(Temporary() / (kName + "000001")), "00live");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Temporary() / (kName + "000003"))));
    EXPECT_TRUE(fs::is_directory(Temporary() / (kName + "000004")));
}

TEST_F(ShadowFilerTest, AFolderHasNoShadowAndNothingToDo)
{
    auto filer = New<ShadowFiler>(Item(Prefs()));
    EXPECT_EQ(filer->RefStatus(), 0);
    EXPECT_FALSE(filer->RefShadowFile());
    EXPECT_FALSE(filer->RefShadowAvail());
    filer->CleanUp();
    EXPECT_EQ(filer->RefStatus(), 2);
    filer->Abort();
    EXPECT_EQ(filer->RefStatus(), 3);
    EXPECT_TRUE(fs::is_directory(Prefs()));
    EXPECT_THROW(TextOutputStream::Create(New<ShadowFiler>(Item(Prefs()))->RefShadowFile()), NilObjectException);
    EXPECT_THROW(New<ShadowFiler>(nullptr), NilObjectException);
}

TEST_F(ShadowFilerTest, WithoutATemporaryFolderTheCallerWritesTheBase)
{
    auto base = Item(test::Home() / "missing-folder" / kName);
    auto filer = New<ShadowFiler>(base);
    EXPECT_EQ(filer->RefStatus(), -2);
    EXPECT_EQ(filer->RefShadowFile(), base);
    filer->CleanUp();
    EXPECT_EQ(filer->RefStatus(), 2);
}

TEST_F(ShadowFilerTest, AFirstSaveMovesTheShadowIntoPlace)
{
    auto base = Item(Prefs() / kName);
    auto filer = New<WatchedFiler>(base);
    auto shadow = filer->RefShadowFile();
    Write(shadow, "0011");
    filer->CleanUp();
    EXPECT_EQ(filer->RefStatus(), 2);
    EXPECT_EQ(filer->calls, 0) << "nothing to exchange with";
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "0011");
    EXPECT_FALSE(shadow->Exists());
}

TEST_F(ShadowFilerTest, TheExchangePutsTheNewContentsInPlaceAndLeavesNoShadow)
{
    fs::path path = Prefs() / kName;
    test::WriteFile(path, "00old");
    ino_t oldInode = Inode(path);
    auto filer = New<WatchedFiler>(Item(path));
    auto shadow = filer->RefShadowFile();
    Write(shadow, "00new");
    ino_t newInode = Inode(shadow->NativePath());
    filer->CleanUp();
    EXPECT_EQ(filer->calls, 1);
    EXPECT_TRUE(filer->answer);
    EXPECT_EQ(test::ReadFile(path), "00new");
    EXPECT_EQ(Inode(path), newInode);
    EXPECT_NE(Inode(path), oldInode);
    EXPECT_FALSE(shadow->Exists());
    EXPECT_FALSE(fs::exists(fs::path(shadow->NativePath()).parent_path() / ("._" + shadow->Name())));
    EXPECT_EQ(filer->RefStatus(), 2);

    // Spent: a second CleanUp or Abort only sets the status.
    filer->CleanUp();
    EXPECT_EQ(filer->RefStatus(), 2);
    filer->Abort();
    EXPECT_EQ(filer->RefStatus(), 3);
    EXPECT_EQ(test::ReadFile(path), "00new");
}

TEST_F(ShadowFilerTest, ALongNameTakesTheRenameAndLeavesItsNamesakeAlone)
{
    // 70 characters: the record keeps only the first 63 bytes, which name
    // another file here. Exchanging with that one would destroy it.
    std::string name(70, 'n');
    std::string namesake(63, 'n');
    test::WriteFile(Prefs() / name, "00old");
    test::WriteFile(Prefs() / namesake, "somebody else's");
    auto filer = New<WatchedFiler>(Item(Prefs() / name));
    auto shadow = filer->RefShadowFile();
    Write(shadow, "00new");
    filer->CleanUp();
    EXPECT_EQ(filer->calls, 1);
    EXPECT_FALSE(filer->answer);
    EXPECT_EQ(test::ReadFile(Prefs() / name), "00new");
    EXPECT_EQ(test::ReadFile(Prefs() / namesake), "somebody else's");
    EXPECT_FALSE(shadow->Exists());
    EXPECT_EQ(filer->RefStatus(), 2);
}

TEST_F(ShadowFilerTest, TheRecordHoldsTheVolumeTheFolderAndTheFirst63BytesOfTheName)
{
    // 30 kanji are 60 bytes in MacJapanese (90 in UTF-8); two more ASCII
    // letters and a kanji make 64, so the cut falls inside that kanji.
    std::string name;
    for (int i = 0; i < 30; ++i)
        name += "設";
    name += "ab設";
    std::string mj = ConvertEncoding(name, Encodings::MacJapanese);
    ASSERT_EQ(LenB(mj), 64);
    auto base = Item(Prefs() / name);
    test::WriteFile(Prefs() / name, "00old");
    auto filer = New<WatchedFiler>(base);
    Write(filer->RefShadowFile(), "00new");
    filer->CleanUp();
    auto spec = filer->Spec1();
    EXPECT_EQ(spec->Size(), 70);
    EXPECT_EQ(spec->Short(0), base->MacVRefNum());
    EXPECT_EQ(spec->Long(2), base->MacDirID());
    EXPECT_EQ(spec->PString(6), LeftB(mj, 63));
    EXPECT_FALSE(filer->answer) << "a cut name does not resolve";
    EXPECT_EQ(test::ReadFile(Prefs() / name), "00new");
}

TEST_F(ShadowFilerTest, CleanUpWithNothingWrittenTouchesNothing)
{
    fs::path path = Prefs() / kName;
    test::WriteFile(path, "00old");
    ino_t before = Inode(path);
    auto filer = New<WatchedFiler>(Item(path));
    filer->CleanUp();
    EXPECT_EQ(filer->RefStatus(), 2);
    EXPECT_EQ(filer->calls, 0);
    EXPECT_EQ(Inode(path), before);
    EXPECT_EQ(test::ReadFile(path), "00old");
}

TEST_F(ShadowFilerTest, AbortThrowsTheShadowAwayAndKeepsTheBase)
{
    fs::path path = Prefs() / kName;
    test::WriteFile(path, "00old");
    auto filer = New<ShadowFiler>(Item(path));
    auto shadow = filer->RefShadowFile();
    Write(shadow, "00new");
    filer->Abort();
    EXPECT_EQ(filer->RefStatus(), 3);
    EXPECT_FALSE(shadow->Exists());
    EXPECT_EQ(test::ReadFile(path), "00old");
    EXPECT_FALSE(filer->RefShadowFile());
}

TEST_F(ShadowFilerTest, TheExchangeAndTheRenameKeepTheBasesPermissions)
{
    const fs::perms mine = fs::perms::owner_read | fs::perms::owner_write;
    // A name too long for its record takes the rename instead of the exchange.
    for (const std::string& name : { kName, std::string(70, 'n') }) {
        fs::path path = Prefs() / name;
        test::WriteFile(path, "00old");
        fs::permissions(path, mine);
        auto filer = New<WatchedFiler>(Item(path));
        Write(filer->RefShadowFile(), "00new");
        filer->CleanUp();
        EXPECT_EQ(filer->answer, name == kName);
        EXPECT_EQ(test::ReadFile(path), "00new");
        EXPECT_EQ(fs::status(path).permissions(), mine) << name;
    }
    // A link has no permissions of a file to give: the save fails, the link stays.
    fs::create_symlink(Prefs() / kName, Prefs() / "link");
    auto filer = New<ShadowFiler>(Item(Prefs() / "link"));
    Write(filer->RefShadowFile(), "00new");
    EXPECT_THROW(filer->CleanUp(), IOException);
    EXPECT_TRUE(fs::is_symlink(Prefs() / "link"));
}
