#include "game/FileTypes.h"

#include <gtest/gtest.h>

TEST(FileTypes, InitializeRegistersPrefsDataOnceWithItsFields)
{
    FileTypes::Initialize();
    FileTypes::Initialize(); // the first is released, and withdrawn with it
    auto types = fw::FileType::RegisteredTypes();
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0], FileTypes::pPrefsData.Get());
    EXPECT_EQ(types[0]->Name(), "PrefsData");
    EXPECT_EQ(types[0]->Extensions(), "");
    EXPECT_EQ(types[0]->MacType(), "PREF");
    EXPECT_EQ(types[0]->MacCreator(), "HRMN");
    FileTypes::pPrefsData = nullptr;
    EXPECT_TRUE(fw::FileType::RegisteredTypes().empty());
}
