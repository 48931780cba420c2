#include "common/Mounts.h"
#include "common/TestSupport.h"

#include <carbon/FileIDs.h>
#include <framework/Exceptions.h>
#include <framework/FolderItem.h>
#include <framework/TextOutputStream.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

namespace {

Ref<FolderItem> Item(const fs::path& p) { return New<FolderItem>(p.string()); }

std::string Attribute(const fs::path& p)
{
    char buf[64];
    ssize_t n = getxattr(p.c_str(), "user.com.apple.FinderInfo", buf, sizeof buf);
    return n < 0 ? std::string() : std::string(buf, static_cast<size_t>(n));
}

std::string Be32(uint32_t v)
{
    return { static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v) };
}

// An AppleDouble file with one entry of the given id, offset and length.
std::string AppleDouble(uint32_t magic, uint32_t id, uint32_t offset, uint32_t length, const std::string& body)
{
    std::string b = Be32(magic) + Be32(0x00020000) + std::string(16, '\0') + std::string("\0\1", 2);
    b += Be32(id) + Be32(offset) + Be32(length);
    return b + body;
}

// The temporary places that TestMain gives every test process; a test that
// changes them may run before another in the same process.
void DefaultPlaces()
{
    setenv("TMPDIR", (test::Home() / "tmp").c_str(), 1);
    setenv("XDG_CACHE_HOME", (test::Home() / ".cache").c_str(), 1);
}

fs::path Scratch(const std::string& name)
{
    fs::path p = test::Home() / name;
    fs::create_directories(p);
    return p;
}

} // namespace

TEST(FolderItem, TypeAndCreatorLiveInTheFinderInfoAttribute)
{
    fs::path f = Scratch("files") / "settings";
    test::WriteFile(f, "0011");
    auto item = Item(f);
    EXPECT_EQ(item->MacType(), "");
    EXPECT_EQ(item->MacCreator(), "");

    item->MacCreator("HRMN");
    item->MacType("PREF");
    EXPECT_EQ(item->MacType(), "PREF");
    EXPECT_EQ(item->MacCreator(), "HRMN");
    std::string info = Attribute(f);
    ASSERT_EQ(info.size(), 32u);
    EXPECT_EQ(info.substr(0, 8), "PREFHRMN");
    EXPECT_EQ(info.substr(8), std::string(24, '\0'));
    EXPECT_FALSE(fs::exists(f.parent_path() / "._settings")) << "no sidecar where attributes work";

    // Bytes of the info that are not type or creator are kept.
    std::string other = "TEXTttxt" + std::string(8, 'x') + std::string(16, '\0');
    ASSERT_EQ(setxattr(f.c_str(), "user.com.apple.FinderInfo", other.data(), other.size(), 0), 0);
    item->MacType("PR");
    EXPECT_EQ(item->MacType(), "PR  ") << "short codes are padded with blanks";
    EXPECT_EQ(Attribute(f).substr(4, 12), "ttxt" + std::string(8, 'x'));
    item->MacType("LONGER");
    EXPECT_EQ(item->MacType(), "LONG");
    item->MacType("");
    EXPECT_EQ(item->MacType(), "");
    EXPECT_EQ(item->MacCreator(), "ttxt");
}

TEST(FolderItem, TypeOfAMissingFileIsNothingAndSettingItRaises)
{
    auto item = Item(Scratch("files") / "absent");
    EXPECT_EQ(item->MacType(), "");
    EXPECT_EQ(item->LastErrorCode(), ENOENT);
    try {
        item->MacCreator("HRMN");
        FAIL() << "no exception";
    } catch (const IOException& e) {
        EXPECT_EQ(e.ErrorNumber, ENOENT);
        EXPECT_EQ(item->LastErrorCode(), ENOENT);
    }
    EXPECT_FALSE(item->Exists()) << "setting a type creates nothing";
}

TEST(FolderItem, ASidecarIsReadWhereTheAttributeIsMissingAndBadOnesReadAsNothing)
{
    fs::path dir = Scratch("sidecar");
    fs::path f = dir / "settings";
    test::WriteFile(f, "00");
    auto item = Item(f);
    std::string info = "PREFHRMN" + std::string(24, '\0');

    test::WriteFile(dir / "._settings", AppleDouble(0x00051607, 9, 38, 32, info));
    EXPECT_EQ(item->MacType(), "PREF");
    EXPECT_EQ(item->MacCreator(), "HRMN");

    const std::pair<const char*, std::string> bad[] = {
        { "bad magic", AppleDouble(0x00051600, 9, 38, 32, info) },
        { "too short", AppleDouble(0x00051607, 9, 38, 32, info).substr(0, 30) },
        { "header only", AppleDouble(0x00051607, 9, 38, 32, info).substr(0, 20) },
        { "offset past the end", AppleDouble(0x00051607, 9, 60, 32, info) },
        { "length past the end", AppleDouble(0x00051607, 9, 38, 0xFFFFFFF0u, info) },
        { "offset wrapping round", AppleDouble(0x00051607, 9, 0xFFFFFFFFu, 32, info) },
        { "offset inside the header", AppleDouble(0x00051607, 9, 4, 32, info) },
        { "no finder info entry", AppleDouble(0x00051607, 2, 38, 32, info) },
        { "more entries than bytes", [&] { std::string b = AppleDouble(0x00051607, 9, 38, 32, info); b[24] = '\xFF'; return b; }() },
        { "empty", "" },
    };
    for (const auto& [what, bytes] : bad) {
        test::WriteFile(dir / "._settings", bytes);
        EXPECT_EQ(item->MacType(), "") << what;
        EXPECT_EQ(item->MacCreator(), "") << what;
    }
    fs::remove(dir / "._settings");
    fs::create_directory(dir / "._settings");
    EXPECT_EQ(item->MacType(), "") << "a folder in the sidecar's place";
}

TEST(FolderItem, WhereAttributesAreRefusedTypeAndCreatorGoToAnAppleDoubleSidecar)
{
    std::string why;
    auto ram = test::Mount::Make("ramfs", test::Home() / "ram", "", why);
    if (!ram)
        GTEST_SKIP() << "needs a ramfs mount: " << why;
    fs::path f = test::Home() / "ram" / "settings";
    test::WriteFile(f, "0011");
    ASSERT_NE(setxattr(f.c_str(), "user.x", "x", 1, 0), 0);
    ASSERT_EQ(errno, ENOTSUP) << "ramfs is expected to refuse user attributes";

    auto item = Item(f);
    item->MacCreator("HRMN");
    item->MacType("PREF");
    EXPECT_EQ(item->MacType(), "PREF");
    EXPECT_EQ(item->MacCreator(), "HRMN");
    std::string side = test::ReadFile(test::Home() / "ram" / "._settings");
    EXPECT_EQ(side, AppleDouble(0x00051607, 9, 38, 32, "PREFHRMN" + std::string(24, '\0')));

    // Other entries of a sidecar that another tool wrote are kept.
    std::string withFork = Be32(0x00051607) + Be32(0x00020000) + std::string(16, '\0') + std::string("\0\2", 2)
        + Be32(9) + Be32(50) + Be32(32) + Be32(2) + Be32(82) + Be32(3) + "TEXTttxt" + std::string(24, '\0') + "abc";
    test::WriteFile(test::Home() / "ram" / "._settings", withFork);
    item->MacType("PREF");
    side = test::ReadFile(test::Home() / "ram" / "._settings");
    EXPECT_EQ(side.size(), withFork.size());
    EXPECT_EQ(side.substr(50, 8), "PREFttxt");
    EXPECT_EQ(side.substr(82), "abc");

    // The sidecar goes with its file when the file moves or is deleted.
    auto moved = Item(test::Home() / "ram" / "moved");
    item->MoveFileTo(moved);
    EXPECT_FALSE(fs::exists(test::Home() / "ram" / "._settings"));
    EXPECT_EQ(moved->MacType(), "PREF");
    moved->Delete();
    EXPECT_FALSE(moved->Exists());
    EXPECT_FALSE(fs::exists(test::Home() / "ram" / "._moved"));
}

TEST(FolderItem, DeleteRemovesFilesAndEmptyFoldersAndTellsWhyItCouldNot)
{
    fs::path dir = Scratch("del");
    test::WriteFile(dir / "f", "x");
    auto f = Item(dir / "f");
    f->Delete();
    EXPECT_FALSE(f->Exists());
    EXPECT_EQ(f->LastErrorCode(), 0);
    f->Delete();
    EXPECT_EQ(f->LastErrorCode(), ENOENT);

    fs::create_directories(dir / "full" / "inner");
    auto full = Item(dir / "full");
    full->Delete();
    EXPECT_EQ(full->LastErrorCode(), ENOTEMPTY);
    EXPECT_TRUE(full->Exists());
    auto inner = Item(dir / "full" / "inner");
    inner->Delete();
    EXPECT_FALSE(inner->Exists());

    // A symlink is removed, not what it points at.
    test::WriteFile(dir / "target", "keep");
    fs::create_symlink(dir / "target", dir / "link");
    Item(dir / "link")->Delete();
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "link")));
    EXPECT_EQ(test::ReadFile(dir / "target"), "keep");
}

TEST(FolderItem, MoveFileToReplacesTheDestinationInOneStep)
{
    fs::path dir = Scratch("move");
    test::WriteFile(dir / "new", "new contents");
    test::WriteFile(dir / "base", "old contents");
    auto source = Item(dir / "new");
    source->MacType("PREF");
    auto base = Item(dir / "base");
    struct stat before;
    ASSERT_EQ(stat((dir / "new").c_str(), &before), 0);

    source->MoveFileTo(base);
    EXPECT_EQ(test::ReadFile(dir / "base"), "new contents");
    EXPECT_FALSE(source->Exists());
    EXPECT_EQ(base->MacType(), "PREF");
    struct stat after;
    ASSERT_EQ(stat((dir / "base").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "a rename, not a copy";

    // Into a folder, under its own name.
    fs::create_directory(dir / "sub");
    base->MoveFileTo(Item(dir / "sub"));
    EXPECT_EQ(test::ReadFile(dir / "sub" / "base"), "new contents");
}

TEST(FolderItem, AFailedMoveRaisesAndLosesNothing)
{
    fs::path dir = Scratch("movefail");
    test::WriteFile(dir / "base", "old");
    test::WriteFile(dir / "new", "new");
    EXPECT_THROW(Item(dir / "new")->MoveFileTo(nullptr), NilObjectException);

    auto missing = Item(dir / "absent");
    try {
        missing->MoveFileTo(Item(dir / "base"));
        FAIL() << "no exception";
    } catch (const IOException& e) {
        EXPECT_EQ(e.ErrorNumber, ENOENT);
        EXPECT_EQ(missing->LastErrorCode(), ENOENT);
    }
    EXPECT_EQ(test::ReadFile(dir / "base"), "old");

    // A file does not replace a folder.
    fs::create_directories(dir / "folder" / "new");
    fs::create_directories(dir / "folder" / "new" / "x");
    EXPECT_THROW(Item(dir / "new")->MoveFileTo(Item(dir / "folder")), IOException);
    EXPECT_EQ(test::ReadFile(dir / "new"), "new");
}

TEST(FolderItem, MoveFileToAnotherFileSystemCopiesAndStillReplacesInOneStep)
{
    std::string why;
    auto tmp = test::Mount::Make("tmpfs", test::Home() / "other", "size=1m", why);
    if (!tmp)
        GTEST_SKIP() << "needs a tmpfs mount: " << why;
    fs::path dir = Scratch("cross");
    test::WriteFile(dir / "new", "new contents");
    test::WriteFile(test::Home() / "other" / "base", "old contents");
    auto source = Item(dir / "new");
    source->MacCreator("HRMN");
    auto base = Item(test::Home() / "other" / "base");
    source->MoveFileTo(base);
    EXPECT_EQ(test::ReadFile(test::Home() / "other" / "base"), "new contents");
    EXPECT_EQ(base->MacCreator(), "HRMN");
    EXPECT_FALSE(source->Exists());
    EXPECT_EQ(test::Entries(test::Home() / "other"), 1u)
        << "no copy left beside it";
}

TEST(FolderItem, TemporaryFolderIsPrivateAndOnTheItemsFileSystem)
{
    DefaultPlaces();
    fs::path prefs = test::Home() / ".config";
    auto item = Item(prefs / "settings");
    auto temp = item->TemporaryFolder();
    ASSERT_TRUE(temp);
    fs::path expected = test::Home() / "tmp" / ("TemporaryItems-" + std::to_string(geteuid()));
    EXPECT_EQ(temp->NativePath(), expected.string());
    struct stat st;
    ASSERT_EQ(lstat(expected.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(item->TemporaryFolder()->NativePath(), expected.string()) << "the same folder again";
}

TEST(FolderItem, TemporaryFolderPassesOverWhatItCannotTrust)
{
    DefaultPlaces();
    fs::path tmp = test::Home() / "tmp";
    fs::path own = tmp / ("TemporaryItems-" + std::to_string(geteuid()));
    fs::path cache = test::Home() / ".cache" / "TemporaryItems";
    fs::path victim = Scratch("victim");
    auto item = Item(test::Home() / ".config" / "settings");
    fs::remove_all(own);

    fs::create_directory_symlink(victim, own);
    EXPECT_EQ(item->TemporaryFolder()->NativePath(), cache.string()) << "a symlink";
    fs::remove(own);
    ASSERT_EQ(mkfifo(own.c_str(), 0600), 0);
    EXPECT_EQ(item->TemporaryFolder()->NativePath(), cache.string()) << "a FIFO";
    fs::remove(own);
    fs::create_directory(own);
    fs::permissions(own, fs::perms::all);
    EXPECT_EQ(item->TemporaryFolder()->NativePath(), cache.string()) << "a folder open to all";
    if (geteuid() == 0 && !test::InOwnUserNamespace()) {
        fs::permissions(own, fs::perms::owner_all);
        ASSERT_EQ(chown(own.c_str(), 65534, 65534), 0);
        EXPECT_EQ(item->TemporaryFolder()->NativePath(), cache.string()) << "another user's folder";
    }
    EXPECT_TRUE(fs::is_empty(victim));

    // A TMPDIR is taken only where no other user can rename our folder
    // away: the user's or root's, and open to others only when root's and
    // sticky. Else (no cache here) the item's own folder.
    setenv("XDG_CACHE_HOME", (test::Home() / "nocache").c_str(), 1);
    const bool root = geteuid() == 0 && !test::InOwnUserNamespace();
    for (auto c : { std::pair<uid_t, mode_t> { geteuid(), 0755 }, { geteuid(), 0775 }, { geteuid(), 0777 }, { geteuid(), 01777 }, { 65534, 0755 } }) {
        fs::path base = Scratch("base" + std::to_string(c.second) + "-" + std::to_string(c.first));
        if (chmod(base.c_str(), c.second) != 0 || chown(base.c_str(), c.first, c.first) != 0)
            continue;
        setenv("TMPDIR", base.c_str(), 1);
        bool taken = c.first == geteuid() && (c.second == 0755 || (c.second == 01777 && root));
        EXPECT_EQ(item->TemporaryFolder()->Parent()->NativePath(), taken ? base.string() : (test::Home() / ".config").string())
            << "owner " << c.first << ", mode " << std::oct << c.second;
    }
}

TEST(FolderItem, AReservedFileIsItsWritersAloneUntilWrittenAndGoesWhenNeverWritten)
{
    fs::path path = Scratch("r") / "name";
    for (bool written : { false, true }) {
        auto item = Item(path), other = Item(path);
        ASSERT_TRUE(item->Reserve());
        EXPECT_FALSE(item->Exists()) << "not written yet";
        EXPECT_FALSE(other->Reserve());
        other->Delete();
        EXPECT_EQ(other->LastErrorCode(), EBUSY) << "held by its writer";
        if (written)
            TextOutputStream::Create(item)->Close();
        EXPECT_EQ(item->Exists(), written);
        item = nullptr;
        EXPECT_EQ(fs::exists(path), written) << "a file never written goes with its item";
    }
    EXPECT_THROW(Item(path.parent_path() / "sub" / "x")->Reserve(), IOException);
}

TEST(FolderItem, TemporaryFolderIsNilWhenTheItemsFolderCannotBeReached)
{
    auto item = Item(test::Home() / "nowhere" / "settings");
    EXPECT_FALSE(item->TemporaryFolder());
    EXPECT_NE(item->LastErrorCode(), 0);
}

TEST(FolderItem, TemporaryFolderSkipsFoldersOnOtherMounts)
{
    DefaultPlaces();
    std::string why;
    auto bind = test::Mount::Make("tmpfs", test::Home() / "elsewhere", "size=64k", why);
    if (!bind)
        GTEST_SKIP() << "needs a tmpfs mount: " << why;
    fs::create_directories(test::Home() / "elsewhere" / "tmp");
    setenv("TMPDIR", (test::Home() / "elsewhere" / "tmp").c_str(), 1);
    auto item = Item(test::Home() / ".config" / "settings");
    EXPECT_EQ(item->TemporaryFolder()->NativePath(), (test::Home() / ".cache" / "TemporaryItems").string());
    EXPECT_TRUE(fs::is_empty(test::Home() / "elsewhere" / "tmp"));
}

TEST(FolderItem, VolumeAndFolderNumbersNameTheFolderThatHoldsTheItem)
{
    fs::path a = Scratch("a"), b = Scratch("b");
    auto inA = Item(a / "x"), alsoInA = Item(a / "y"), inB = Item(b / "x");
    EXPECT_LT(inA->MacVRefNum(), 0);
    EXPECT_EQ(inA->MacVRefNum(), inB->MacVRefNum());
    EXPECT_GE(inA->MacDirID(), 16);
    EXPECT_EQ(inA->MacDirID(), alsoInA->MacDirID());
    EXPECT_NE(inA->MacDirID(), inB->MacDirID());

    std::string path;
    ASSERT_TRUE(carbon::Folder(inA->MacVRefNum(), inA->MacDirID(), path));
    EXPECT_EQ(path, a.string());
    EXPECT_FALSE(carbon::Folder(inA->MacVRefNum(), 999999, path));
    EXPECT_FALSE(carbon::Folder(-30000, inA->MacDirID(), path));

    // The number belongs to the folder, not to its path: it names the
    // folder where it went, never the one that took its place.
    int32_t id = inA->MacDirID();
    fs::rename(a, test::Home() / "a2");
    fs::create_directory(a);
    auto folder = carbon::Folder(inA->MacVRefNum(), id, path);
    ASSERT_TRUE(folder);
    struct stat held, moved;
    ASSERT_EQ(fstat(folder->Fd(), &held), 0);
    ASSERT_EQ(stat((test::Home() / "a2").c_str(), &moved), 0);
    EXPECT_EQ(held.st_ino, moved.st_ino);

    auto lost = Item(test::Home() / "gone" / "x");
    EXPECT_EQ(lost->MacDirID(), 0);
    EXPECT_EQ(lost->LastErrorCode(), ENOENT);
}

TEST(FolderItem, ExistsIsFalseOnlyForWhatIsMissingAndRaisesWhereItCannotTell)
{
    fs::path dir = Scratch("exists");
    test::WriteFile(dir / "file", "x");
    fs::create_symlink(dir / "nothing", dir / "dangling");
    fs::create_symlink("loop", dir / "loop");
    for (const char* folder : { "closed", "shut/inner" }) {
        fs::create_directories(dir / folder);
        test::WriteFile(dir / folder / "settings", "x");
    }
    test::PermissionBitsApply bits;
    if (!bits.why.empty())
        GTEST_SKIP() << bits.why;
    fs::permissions(dir / "closed", fs::perms::none);
    fs::permissions(dir / "shut", fs::perms::owner_read | fs::perms::owner_write); // readable, not searchable
    // 1 there, 0 not there, else the error it raises with.
    const std::pair<fs::path, int> cases[] = { { dir / "file", 1 }, { dir / "dangling", 1 }, { dir / "absent", 0 },
        { dir / "gone" / "x", 0 }, { dir / "file" / "x", 0 }, { dir / "loop" / "x", ELOOP },
        { dir / "closed" / "settings", EACCES }, { dir / "shut" / "inner" / "settings", EACCES } };
    for (const auto& [path, expected] : cases) {
        auto item = Item(path);
        try {
            EXPECT_EQ(item->Exists(), expected == 1) << path;
            EXPECT_LE(expected, 1) << path;
        } catch (const IOException& e) {
            EXPECT_EQ(e.ErrorNumber, expected) << path;
            EXPECT_EQ(item->LastErrorCode(), expected);
            EXPECT_NE(e.Message.find(path.string() + ": " + std::strerror(expected)), std::string::npos) << e.Message;
        }
    }
    fs::permissions(dir / "closed", fs::perms::owner_all);
    fs::permissions(dir / "shut", fs::perms::owner_all);
}
