#include <framework/FileType.h>

#include <gtest/gtest.h>

#include <functional>

using namespace fw;

TEST(FileType, TheStringRegistersOnceAndAnyChangeWithdraws)
{
    const std::vector<std::function<void(FileType&)>> changes {
        [](FileType& t) { t.Name("Other"); },
        [](FileType& t) { t.Extensions("txt"); },
        [](FileType& t) { t.MacType("TEXT"); },
        [](FileType& t) { t.MacCreator("ttxt"); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        Ref<FileType> t = New<FileType>();
        t->Name("Doc");
        EXPECT_FALSE(t->IsRegistered());
        EXPECT_EQ(static_cast<std::string>(*t), "Doc");
        EXPECT_EQ(static_cast<std::string>(*t), "Doc");
        EXPECT_EQ(FileType::RegisteredTypes(), std::vector<const FileType*> { t.Get() }) << "once";
        changes[i](*t);
        EXPECT_FALSE(t->IsRegistered()) << "change " << i;
        (void)static_cast<std::string>(*t);
        EXPECT_TRUE(t->IsRegistered());
    }
    EXPECT_TRUE(FileType::RegisteredTypes().empty()) << "a released type is withdrawn";
}
