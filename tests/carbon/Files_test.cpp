#include "common/TestSupport.h"

#include <carbon/Files.h>
#include <framework/FolderItem.h>
#include <framework/Text.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstddef>
#include <cstring>
#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

namespace {

// The record as a program fills it for an item.
FSSpec SpecOf(const fs::path& p, const std::string& name = {})
{
    auto item = New<FolderItem>(p.string());
    FSSpec s;
    std::memset(&s, 0, sizeof s);
    s.vRefNum = item->MacVRefNum();
    s.parID = item->MacDirID();
    std::string n = LeftB(ConvertEncoding(name.empty() ? item->Name() : name, Encodings::MacJapanese), 63);
    s.name[0] = static_cast<unsigned char>(n.size());
    std::memcpy(s.name + 1, n.data(), n.size());
    return s;
}

fs::path Folder()
{
    fs::path p = test::Home() / "prefs";
    fs::create_directories(p);
    return p;
}

} // namespace

TEST(FSSpec, IsSeventyBytesWithItsFieldsWhereTheRecordHasThem)
{
    EXPECT_EQ(sizeof(FSSpec), 70u);
    EXPECT_EQ(offsetof(FSSpec, vRefNum), 0u);
    EXPECT_EQ(offsetof(FSSpec, parID), 2u);
    EXPECT_EQ(offsetof(FSSpec, name), 6u);
}

TEST(FSpExchangeFiles, ExchangesContentsTypeAndCreator)
{
    fs::path base = Folder() / "ほろみねの設定";
    fs::path shadow = test::Home() / "ほろみねの設定000001";
    test::WriteFile(base, "00old");
    test::WriteFile(shadow, "00new");
    New<FolderItem>(shadow.string())->MacType("PREF");
    FSSpec a = SpecOf(base), b = SpecOf(shadow);

    std::string path;
    ASSERT_EQ(FSpMakePath(&a, path), noErr);
    EXPECT_EQ(path, base.string());

    EXPECT_EQ(FSpExchangeFiles(&a, &b), noErr);
    EXPECT_EQ(test::ReadFile(base), "00new");
    EXPECT_EQ(test::ReadFile(shadow), "00old");
    EXPECT_EQ(New<FolderItem>(base.string())->MacType(), "PREF");
    EXPECT_EQ(New<FolderItem>(shadow.string())->MacType(), "");
}

TEST(FSpExchangeFiles, AnswersAnErrorAndExchangesNothingWhenARecordDoesNotResolve)
{
    fs::path base = Folder() / "ほろみねの設定";
    fs::path shadow = Folder() / "shadow";
    test::WriteFile(base, "old");
    test::WriteFile(shadow, "new");
    FSSpec good = SpecOf(shadow);

    // Cut inside a two-byte character: the name is no whole MacJapanese.
    FSSpec cut = SpecOf(base);
    ASSERT_GT(cut.name[0], 3);
    cut.name[0] = 3;
    EXPECT_EQ(FSpExchangeFiles(&cut, &good), fnfErr);

    FSSpec missing = SpecOf(Folder() / "absent");
    EXPECT_EQ(FSpExchangeFiles(&missing, &good), fnfErr);

    FSSpec unknownFolder = SpecOf(base);
    unknownFolder.parID = 987654;
    EXPECT_EQ(FSpExchangeFiles(&unknownFolder, &good), dirNFErr);

    FSSpec otherVolume = SpecOf(base);
    otherVolume.vRefNum = -300;
    EXPECT_EQ(FSpExchangeFiles(&otherVolume, &good), diffVolErr);

    FSSpec slash = SpecOf(base, "a/b");
    EXPECT_EQ(FSpExchangeFiles(&slash, &good), bdNamErr);

    fs::create_directory(Folder() / "folder");
    FSSpec folder = SpecOf(Folder() / "folder");
    EXPECT_EQ(FSpExchangeFiles(&folder, &good), notAFileErr);

    EXPECT_EQ(FSpExchangeFiles(nullptr, &good), paramErr);
    EXPECT_EQ(FSpExchangeFiles(&good, &good), paramErr);

    EXPECT_EQ(test::ReadFile(base), "old");
    EXPECT_EQ(test::ReadFile(shadow), "new");
}

TEST(FSpExchangeFiles, ARecordNamesItsFolderWhereverItMovedNeverTheOneInItsPlace)
{
    fs::path base = Folder() / "base";
    test::WriteFile(base, "old");
    test::WriteFile(test::Home() / "other", "new");
    FSSpec a = SpecOf(base), b = SpecOf(test::Home() / "other");
    fs::rename(Folder(), test::Home() / "moved");
    fs::create_directories(Folder());
    test::WriteFile(base, "stranger");
    EXPECT_EQ(FSpExchangeFiles(&a, &b), noErr);
    EXPECT_EQ(test::ReadFile(base), "stranger");
    EXPECT_EQ(test::ReadFile(test::Home() / "moved" / "base"), "new");
    EXPECT_EQ(test::ReadFile(test::Home() / "other"), "old");
}
