#include "common/Mounts.h"
#include "common/TestSupport.h"

#include "prefs/ApplPreferences.h"

#include <framework/Exceptions.h>
#include <framework/FolderItem.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

fs::path Prefs() { return test::Home() / ".config"; }

Ref<FolderItem> Item(const fs::path& p) { return New<FolderItem>(p.string()); }

Ref<ApplPreferences> Open()
{
    auto p = New<ApplPreferences>(kName, "HRMN");
    p->Restore();
    return p;
}

// A settings file as this store writes it: the bytes, type and creator.
void Plant(const fs::path& path, const std::string& bytes, const std::string& type = "PREF",
    const std::string& creator = "HRMN")
{
    test::WriteFile(path, bytes);
    std::string info = type + creator + std::string(24, '\0');
    ASSERT_EQ(setxattr(path.c_str(), "user.com.apple.FinderInfo", info.data(), 32, 0), 0);
}

struct Stamp {
    ino_t inode = 0;
    timespec mtime {};
    bool operator==(const Stamp& o) const
    {
        return inode == o.inode && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

Stamp StampOf(const fs::path& p)
{
    struct stat st;
    if (stat(p.c_str(), &st) != 0)
        return {};
    return { st.st_ino, st.st_mtim };
}

void ExpectIOError(const std::function<void()>& act, int err, const std::string& named)
{
    try {
        act();
        ADD_FAILURE() << "no exception, " << named;
    } catch (const IOException& e) {
        EXPECT_EQ(e.ErrorNumber, err);
        EXPECT_NE(e.Message.find(named), std::string::npos) << e.Message;
    }
}

// Each test starts from an empty Preferences folder and temporary folder,
// also when several run in one process.
class ApplPreferencesTest : public testing::Test {
protected:
    void SetUp() override { test::EmptyPreferencesAndTemporaryFolders(); }
};

} // namespace

TEST_F(ApplPreferencesTest, AFirstRunWritesTheTemplateBehindTheMarkWithTypeAndCreator)
{
    auto p = Open();
    EXPECT_EQ(p->GetData(), "");
    EXPECT_TRUE(p->DefaultData("11"));
    EXPECT_EQ(p->GetData(), "11");
    p->Save();
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "0011");
    EXPECT_EQ(test::TypeAndCreator(Prefs() / kName), "PREFHRMN");
    EXPECT_EQ(test::Entries(Prefs()), 1u) << "the settings file and nothing else";
}

TEST_F(ApplPreferencesTest, AnUnchangedRunWritesNothingAndAChangedOneWritesEachSave)
{
    Plant(Prefs() / kName, "0011");
    Stamp before = StampOf(Prefs() / kName);
    auto p = Open();
    EXPECT_EQ(p->GetData(), "11");
    EXPECT_FALSE(p->DefaultData("11"));
    p->Save();
    EXPECT_TRUE(StampOf(Prefs() / kName) == before);
    EXPECT_EQ(test::Entries(test::Home() / "tmp"), 0u) << "no shadow was even named";

    p->SetPartData("C", 1);
    p->Save();
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "00C1");
    Stamp first = StampOf(Prefs() / kName);
    // What was read is still what a save compares with.
    p->Save();
    EXPECT_FALSE(StampOf(Prefs() / kName) == first);
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "00C1");

    // The save mode writes even without a change.
    auto q = Open();
    q->SetSaveMode(1);
    Stamp third = StampOf(Prefs() / kName);
    q->Save();
    EXPECT_FALSE(StampOf(Prefs() / kName) == third);
}

TEST_F(ApplPreferencesTest, ShortMarklessAndEmptyFilesGiveEmptySettingsAndAreRewrittenWhole)
{
    for (const std::string bytes : { "00", "0", "", "XY11", "0X11", "11" }) {
        Plant(Prefs() / kName, bytes);
        auto p = Open();
        EXPECT_EQ(p->GetData(), "") << bytes;
        EXPECT_EQ(test::ReadFile(Prefs() / kName), bytes) << "left alone until a save";
        EXPECT_TRUE(p->DefaultData("11"));
        p->Save();
        EXPECT_EQ(test::ReadFile(Prefs() / kName), "0011") << bytes;
    }
}

TEST_F(ApplPreferencesTest, EverythingAfterTheMarkIsKeptWhole)
{
    std::string odd = std::string("C3xyz\0\xFF\n", 8) + std::string(5000, 'q');
    Plant(Prefs() / kName, "00" + odd);
    auto p = Open();
    EXPECT_EQ(p->GetData(), odd);
    EXPECT_FALSE(p->DefaultData("11"));
    EXPECT_EQ(p->GetData(), odd);
    p->SetSaveMode(1);
    p->Save();
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "00" + odd);
}

TEST_F(ApplPreferencesTest, ItemsOfAnotherCreatorOrTypeAreLeftAloneForTheNextName)
{
    Plant(Prefs() / kName, "00AB", "PREF", "XXXX");
    Plant(Prefs() / (kName + "_1"), "00CD", "TEXT", "HRMN");
    fs::create_directory(Prefs() / (kName + "_2"));
    auto p = Open();
    EXPECT_EQ(p->GetData(), "") << "none of them is this store's file";
    p->DefaultData("11");
    p->Save();
    EXPECT_EQ(test::ReadFile(Prefs() / (kName + "_3")), "0011");
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "00AB");
    EXPECT_EQ(test::ReadFile(Prefs() / (kName + "_1")), "00CD");
    EXPECT_EQ(Item(Prefs() / kName)->MacCreator(), "XXXX");

    // And the next run finds it there.
    auto again = Open();
    EXPECT_EQ(again->GetData(), "11");
    Plant(Prefs() / (kName + "_3"), "0042");
    EXPECT_EQ(Open()->GetData(), "42");
}

TEST_F(ApplPreferencesTest, PartsAreWrittenOnlyWithinTheSettingsLength)
{
    auto p = New<ApplPreferences>(kName, "HRMN");
    p->SetData("11");
    p->SetPartData("C", 1);
    EXPECT_EQ(p->GetData(), "C1");
    p->SetPartData("xy", 2);
    EXPECT_EQ(p->GetData(), "C1") << "it would reach byte 3";
    p->SetPartData("", 3);
    EXPECT_EQ(p->GetData(), "C1");
    p->SetPartData("x", 2147483647);
    EXPECT_EQ(p->GetData(), "C1");

    p->SetPartInteger(3, 2, 1);
    EXPECT_EQ(p->GetData(), "C3");
    EXPECT_EQ(p->GetPartInteger(2, 1), 3);
    p->SetPartInteger(12, 2, 1);
    EXPECT_EQ(p->GetData(), "C2") << "only the last digit";
    p->SetPartInteger(7, 2, 5);
    EXPECT_EQ(p->GetData(), "C2");
    EXPECT_EQ(p->GetPartInteger(5, 1), 0) << "nothing there";
    EXPECT_EQ(p->GetPartData(2, 10), "2");
    EXPECT_EQ(p->GetPartData(3, 1), "");

    p->SetData("C");
    EXPECT_TRUE(p->DefaultData("11"));
    EXPECT_EQ(p->GetData(), "C1");
    p->SetData("C3xyz");
    EXPECT_FALSE(p->DefaultData("11"));
    EXPECT_EQ(p->GetData(), "C3xyz");
    p->SetData("");
    EXPECT_TRUE(p->DefaultData("11"));
    EXPECT_EQ(p->GetData(), "11");
}

TEST_F(ApplPreferencesTest, BooleansTailsAndColours)
{
    auto p = New<ApplPreferences>(kName, "HRMN");
    p->SetData("C3");
    EXPECT_TRUE(p->GetPartBoolean(5)) << "no byte there reads True";
    p->SetData("C0");
    EXPECT_FALSE(p->GetPartBoolean(2));
    EXPECT_TRUE(p->GetPartBoolean(1));
    p->SetPartBoolean(true, 2);
    EXPECT_EQ(p->GetData(), "C1");
    p->SetPartBoolean(false, 3);
    EXPECT_EQ(p->GetData(), "C1");

    p->SetData("C3");
    p->SetTailData("xy", 3);
    EXPECT_EQ(p->GetData(), "C3xy");
    EXPECT_EQ(p->GetTailData(2), "3xy");
    EXPECT_EQ(p->GetTailData(9), "");
    p->SetTailData("", 2);
    EXPECT_EQ(p->GetData(), "C");
    p->SetData("C3");
    p->SetTailData("z", 5);
    EXPECT_EQ(p->GetData(), "C3");

    p->SetData("abcdefg");
    p->SetPartColor(RGB(18, 52, 86), 1);
    EXPECT_EQ(p->GetData(), "123456g");
    EXPECT_EQ(p->GetPartColor(1), RGB(18, 52, 86));
    p->SetPartColor(RGB(1, 2, 3), 1);
    EXPECT_EQ(p->GetData(), "010203g");
    p->SetPartColor(RGB(255, 171, 0), 2);
    EXPECT_EQ(p->GetData(), "0FFAB00");
    EXPECT_EQ(p->GetPartColor(2), RGB(255, 171, 0));
    p->SetPartColor(RGB(1, 2, 3), 3);
    EXPECT_EQ(p->GetData(), "0FFAB00") << "would pass the end";
    p->SetData("12345");
    EXPECT_EQ(p->GetPartColor(1), RGB(0, 0, 0)) << "fewer than six bytes";
}

TEST_F(ApplPreferencesTest, ASettingsFileThatCannotBeReadRaisesAndIsKept)
{
    // A folder that claims to be this store's file.
    fs::create_directory(Prefs() / kName);
    std::string info = "PREFHRMN" + std::string(24, '\0');
    ASSERT_EQ(setxattr((Prefs() / kName).c_str(), "user.com.apple.FinderInfo", info.data(), 32, 0), 0);
    auto p = New<ApplPreferences>(kName, "HRMN");
    EXPECT_THROW(p->Restore(), IOException);
    EXPECT_TRUE(fs::is_directory(Prefs() / kName));
}

TEST_F(ApplPreferencesTest, ABaseThatIsAFolderIsNeverWrittenThrough)
{
    // Found by name after the store looked (a race), the folder gets no
    // shadow; writing its nil shadow raises and nothing on disk changes.
    class Racing : public ApplPreferences {
    public:
        using ApplPreferences::ApplPreferences;
        void SaveNow() { MacSave(); }

    protected:
        Ref<FolderItem> MacFileMake(bool) override { return Item(Prefs()); }
    };
    auto p = New<Racing>(kName, "HRMN");
    p->SetData("11");
    EXPECT_THROW(p->SaveNow(), NilObjectException);
    EXPECT_EQ(test::Entries(Prefs()), 0u);
}

TEST_F(ApplPreferencesTest, WhereAttributesAreRefusedTheSidecarFollowsEverySave)
{
    std::string why;
    fs::path ram = test::Home() / "ram";
    auto mount = test::Mount::Make("ramfs", ram, "", why);
    if (!mount)
        GTEST_SKIP() << "needs a ramfs mount: " << why;
    setenv("XDG_CONFIG_HOME", (ram / "config").c_str(), 1);
    setenv("TMPDIR", (ram / "tmp").c_str(), 1);
    fs::create_directories(ram / "tmp");

    auto p = Open();
    p->DefaultData("11");
    p->Save(); // moved into place
    p->SetPartData("C", 1);
    p->Save(); // exchanged
    EXPECT_EQ(test::ReadFile(ram / "config" / kName), "00C1");
    EXPECT_TRUE(fs::exists(ram / "config" / ("._" + kName)));
    fs::path temporary = ram / "tmp" / ("TemporaryItems-" + std::to_string(geteuid()));
    EXPECT_TRUE(fs::is_empty(temporary)) << "no shadow and no sidecar left behind";
    EXPECT_EQ(Open()->GetData(), "C1") << "the next run finds its file by the sidecar";
}

TEST_F(ApplPreferencesTest, APreferencesFolderThatCannotBeSearchedRaisesAndKeepsTheFile)
{
    Plant(Prefs() / kName, "0013");
    test::PermissionBitsApply bits;
    if (!bits.why.empty())
        GTEST_SKIP() << bits.why;
    fs::permissions(Prefs(), fs::perms::none);
    auto p = New<ApplPreferences>(kName, "HRMN");
    ExpectIOError([&] { p->Restore(); }, EACCES, (Prefs() / kName).string() + ": Permission denied");
    p->SetData("11");
    EXPECT_THROW(p->Save(), IOException) << "not taken for a first save";
    fs::permissions(Prefs(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "0013");
}

TEST_F(ApplPreferencesTest, ASettingsFileOfMoreThanOneMebibyteIsNotRead)
{
    const fs::path path = Prefs() / kName;
    Plant(path, "0011");
    fs::resize_file(path, 1048576); // sparse; the limit itself is read
    EXPECT_EQ(Open()->GetData(), "11" + std::string(1048572, '\0'));
    fs::resize_file(path, 1048577);
    ExpectIOError([&] { Open(); }, EFBIG, path.string() + " is 1048577 bytes");
    EXPECT_EQ(fs::file_size(path), 1048577u);
    EXPECT_EQ(test::ReadFile(path).substr(0, 4), "0011");
}

TEST_F(ApplPreferencesTest, ASaveRefusesMoreThanOneMebibyteBeforeMakingAnythingAndWritesTheLimit)
{
    const fs::path path = Prefs() / kName;
    Plant(path, "0011");
    const Stamp before = StampOf(path);
    const std::string most(1048574, 'x'); // with the mark, the limit itself
    auto p = Open();
    p->SetData(most + "y");
    ExpectIOError([&] { p->Save(); }, EFBIG, path.string() + " would be 1048577 bytes");
    EXPECT_TRUE(StampOf(path) == before);
    EXPECT_EQ(test::ReadFile(path), "0011");
    EXPECT_EQ(test::Entries(Prefs()), 1u);
    EXPECT_EQ(test::Entries(test::Home() / "tmp"), 0u) << "no shadow, no temporary folder";

    p->SetData(most);
    p->Save();
    EXPECT_EQ(fs::file_size(path), 1048576u);
    EXPECT_EQ(Open()->GetData(), most);
}

TEST_F(ApplPreferencesTest, AFirstSaveFollowsTheUmaskAndASaveBesideTheFileKeepsItsMode)
{
    const mode_t before = umask(027);
    auto p = Open();
    p->DefaultData("11");
    p->Save();
    umask(before);
    EXPECT_EQ(fs::status(Prefs() / kName).permissions(), fs::perms(0640));

    // No private temporary folder anywhere (each is open to all): the file
    // is written beside itself. The exchange is in ShadowFiler's tests.
    fs::permissions(Prefs() / kName, fs::perms(0600));
    fs::permissions(Prefs(), fs::perms::all);
    setenv("TMPDIR", Prefs().c_str(), 1);
    setenv("XDG_CACHE_HOME", Prefs().c_str(), 1);
    p->SetPartData("C", 1);
    p->Save();
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "00C1");
    EXPECT_EQ(fs::status(Prefs() / kName).permissions(), fs::perms(0600));
    EXPECT_EQ(test::Entries(Prefs()), 1u) << "no temporary folder was made";
    setenv("TMPDIR", (test::Home() / "tmp").c_str(), 1);
    setenv("XDG_CACHE_HOME", (test::Home() / ".cache").c_str(), 1);
}
