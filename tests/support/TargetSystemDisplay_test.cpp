#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <offscreen/TargetSystemDisplay.h>
#include <offscreen/TargetSystemPict.h>

#include <framework/Window.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fw;
using test::CountColor;

namespace {

// A column of five 16 x 8 cells; only the cell at y 32 is green, with a
// red pixel at its top left.
void PutBadges(const char* name = "TargetSystemPict.png")
{
    test::WritePng(test::BundleResources() / name, 16, 40, [](int x, int y) {
        if (y < 32)
            return 0x0000FFu;
        return x == 0 && y == 32 ? 0xFF0000u : 0x00C000u;
    });
}

// The badge at (4, 6) of a grey window, made larger than its cell.
class BadgeWindow : public Window {
public:
    Ref<TargetSystemDisplay> badge = New<TargetSystemDisplay>();
    void Layout() override
    {
        Width(30);
        Height(20);
        Visible(false);
    }
    void CreateControls() override
    {
        badge->Left(4);
        badge->Top(6);
        badge->Width(20);
        badge->Height(12);
        AddControl("TheTargetSystemDisplay", badge);
    }
};

} // namespace

TEST(TargetSystemPict, MissingAtFirstThenLoadedAndKeptWithoutTransparency)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    EXPECT_FALSE(TargetSystemPict());
    PutBadges();
    Ref<Picture> pict = TargetSystemPict();
    ASSERT_TRUE(pict);
    EXPECT_EQ(pict->Height(), 40);
    EXPECT_EQ(pict->Transparent(), 0);
    fs::remove(test::BundleResources() / "TargetSystemPict.png");
    EXPECT_EQ(TargetSystemPict(), pict);
}

TEST(TargetSystemPict, NilWithoutAResourcesFolder)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    fs::remove_all(test::BundleResources());
    EXPECT_FALSE(TargetSystemPict());
    fs::create_directory(test::BundleResources());
    PutBadges();
    EXPECT_TRUE(TargetSystemPict());
}

TEST(TargetSystemDisplay, PaintsTheCellAtY32AtItsTopLeftOnly)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    auto window = New<BadgeWindow>();
    window->Constructor();
    // No picture yet: the paint draws nothing and raises nothing.
    Ref<Picture> before = window->Snapshot();
    EXPECT_EQ(CountColor(before, 0x00C000, 0, 0, 30, 20), 0);

    PutBadges();
    Ref<Picture> shot = window->Snapshot();
    EXPECT_EQ(test::PixelAt(shot, 4, 6), 0xFF0000u) << "the cell's top left corner";
    EXPECT_EQ(CountColor(shot, 0x00C000, 4, 6, 16, 8), 16 * 8 - 1) << "the whole cell, unscaled";
    EXPECT_EQ(CountColor(shot, 0x00C000, 0, 0, 30, 20), 16 * 8 - 1) << "and nothing beyond it";
    EXPECT_EQ(CountColor(shot, 0x0000FF, 0, 0, 30, 20), 0) << "no other cell";

    // Later paints use the cached picture.
    fs::remove(test::BundleResources() / "TargetSystemPict.png");
    window->Refresh();
    EXPECT_EQ(CountColor(window->Snapshot(), 0x00C000, 4, 6, 16, 8), 16 * 8 - 1);
    window->Close();
}
