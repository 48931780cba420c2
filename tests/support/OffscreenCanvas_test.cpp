#include "common/TestSupport.h"

#include <offscreen/OffscreenCanvas.h>

#include <framework/Runtime.h>
#include <framework/Window.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fw;
using test::CountColor;
using test::PixelAt;

namespace {

// Records its hooks and exposes the protected state; its scene is red on
// the left half and blue on the right.
class Probe : public OffscreenCanvas {
public:
    std::vector<std::string> calls;

    void Initialize() override { calls.push_back("Initialize"); }
    void OffscreenCreated() override { calls.push_back("OffscreenCreated"); }
    void OffscreenDisposed() override { calls.push_back("OffscreenDisposed"); }
    void PaintOffscreen() override
    {
        calls.push_back("PaintOffscreen");
        OffscreenGraphics->ForeColor(RGB(255, 0, 0));
        OffscreenGraphics->FillRect(0, 0, ItsWidth / 2, ItsHeight);
        OffscreenGraphics->ForeColor(RGB(0, 0, 255));
        OffscreenGraphics->FillRect(ItsWidth / 2, 0, ItsWidth - ItsWidth / 2, ItsHeight);
    }
    void RefreshPicture(bool now) override
    {
        calls.push_back(now ? "RefreshPicture(True)" : "RefreshPicture(False)");
        OffscreenCanvas::RefreshPicture(now);
    }
    void CallRefreshPicture(bool now) { OffscreenCanvas::RefreshPicture(now); }

    void SetFixed(int32_t w, int32_t h)
    {
        ItsFixedWidth = w;
        ItsFixedHeight = h;
    }
    Ref<Picture> Pic() const { return OffscreenPicture; }
    Ref<Graphics> Gfx() const { return OffscreenGraphics; }
    int32_t W() const { return ItsWidth; }
    int32_t H() const { return ItsHeight; }
    int32_t D() const { return ItsDepth; }
    bool Aveil() const { return IsOffscreenAveil; }
};

Ref<Probe> MakeProbe(int32_t w, int32_t h)
{
    auto p = New<Probe>();
    p->Width(w);
    p->Height(h);
    return p;
}

// What one Paint event of the control draws, caught on a black picture.
Ref<Picture> PaintOnce(const Ref<Probe>& probe)
{
    auto target = New<Picture>(probe->Width(), probe->Height(), 32);
    target->Graphics()->ForeColor(RGB(0, 0, 0));
    target->Graphics()->FillRect(0, 0, target->Width(), target->Height());
    target->Graphics()->UseOldRenderer(true);
    probe->Event_Paint(target->Graphics());
    return target;
}

class GameWindow : public Window {
public:
    Ref<Probe> field = MakeProbe(480, 300);
    bool attach = true;
    void CreateControls() override
    {
        Width(480);
        Height(300);
        AddControl("TheGameField", field);
        if (attach)
            field->Created.Attach([](Ref<OffscreenCanvas> sender) { sender->CreateOffscreen(32, true); });
    }
};

} // namespace

TEST(OffscreenCanvas, DepthsOneToTwentyFourAreKeptAnyOtherGivesThirtyTwo)
{
    for (int32_t d : { 1, 8, 16, 24 }) {
        auto p = MakeProbe(8, 8);
        p->CreateOffscreen(d, true);
        EXPECT_EQ(p->D(), d);
        EXPECT_EQ(p->Pic()->Depth(), d);
    }
    for (int32_t d : { 32, 0, 2, 4, 15, 64, -1 }) {
        auto p = MakeProbe(8, 8);
        p->CreateOffscreen(d, false);
        EXPECT_EQ(p->D(), 32) << d;
        EXPECT_EQ(p->Pic()->Depth(), 32) << d;
    }
}

TEST(OffscreenCanvas, CreateOffscreenMakesTheControlsSizeAndRunsTheHooksInOrder)
{
    auto p = MakeProbe(480, 300);
    p->CreateOffscreen(32, true);
    EXPECT_EQ(p->W(), 480);
    EXPECT_EQ(p->H(), 300);
    EXPECT_EQ(p->Pic()->Width(), 480);
    EXPECT_EQ(p->Pic()->Height(), 300);
    EXPECT_TRUE(p->Aveil());
    EXPECT_TRUE(p->RefOffscreenAvail());
    EXPECT_EQ(p->Gfx(), p->Pic()->Graphics());
    EXPECT_TRUE(p->Gfx()->UseOldRenderer());
    EXPECT_EQ(p->calls, (std::vector<std::string> { "OffscreenCreated", "PaintOffscreen", "RefreshPicture(False)" }));

    // A second call remakes the picture and runs the hooks again.
    auto first = p->Pic();
    p->calls.clear();
    p->CreateOffscreen(16, false);
    EXPECT_NE(p->Pic(), first);
    EXPECT_FALSE(p->Gfx()->UseOldRenderer());
    EXPECT_EQ(p->calls.size(), 3u);
}

TEST(OffscreenCanvas, FixedSizeIsUsedOnlyWhenBothPartsAreSet)
{
    auto p = MakeProbe(40, 30);
    p->SetFixed(100, 0);
    p->CreateOffscreen(32, true);
    EXPECT_EQ(p->W(), 40);
    EXPECT_EQ(p->H(), 30);
    p->SetFixed(100, 50);
    p->CreateOffscreen(32, true);
    EXPECT_EQ(p->W(), 100);
    EXPECT_EQ(p->H(), 50);
}

TEST(OffscreenCanvas, PaintsWhiteWithoutAPictureAndThePictureWithOne)
{
    auto p = MakeProbe(20, 10);
    EXPECT_EQ(CountColor(PaintOnce(p), 0xFFFFFF, 0, 0, 20, 10), 200) << "before any CreateOffscreen";

    p->CreateOffscreen(32, true);
    auto shown = PaintOnce(p);
    EXPECT_EQ(CountColor(shown, 0xFF0000, 0, 0, 10, 10), 100);
    EXPECT_EQ(CountColor(shown, 0x0000FF, 10, 0, 10, 10), 100);

    p->DisposeOffscreen();
    EXPECT_EQ(CountColor(PaintOnce(p), 0xFFFFFF, 0, 0, 20, 10), 200) << "after DisposeOffscreen";
}

TEST(OffscreenCanvas, AResizedControlShowsThePictureStretched)
{
    auto p = MakeProbe(20, 10);
    p->CreateOffscreen(32, true);
    p->Width(40);
    p->Height(20);
    EXPECT_EQ(p->W(), 20) << "the picture keeps its size";
    auto shown = PaintOnce(p);
    EXPECT_EQ(CountColor(shown, 0xFF0000, 0, 0, 20, 20), 400);
    EXPECT_EQ(CountColor(shown, 0x0000FF, 20, 0, 20, 20), 400);
    // Only the height differs: still stretched.
    p->Width(20);
    auto tall = PaintOnce(p);
    EXPECT_EQ(CountColor(tall, 0xFF0000, 0, 0, 10, 20), 200);
}

TEST(OffscreenCanvas, DisposeOnANeverMadePictureStillCallsItsHook)
{
    auto p = MakeProbe(20, 10);
    p->DisposeOffscreen();
    EXPECT_EQ(p->W(), 0);
    EXPECT_EQ(p->H(), 0);
    EXPECT_EQ(p->D(), 0);
    EXPECT_TRUE(p->Pic().IsNil());
    EXPECT_TRUE(p->Gfx().IsNil());
    EXPECT_FALSE(p->Aveil());
    EXPECT_EQ(p->calls, std::vector<std::string> { "OffscreenDisposed" });
}

TEST(OffscreenCanvas, ARefusedSizeRaisesAndLeavesThePreviousPicture)
{
    auto p = MakeProbe(20, 10);
    p->CreateOffscreen(24, true);
    auto before = p->Pic();
    p->calls.clear();
    p->Width(0);
    try {
        p->CreateOffscreen(8, true);
        FAIL() << "a width of 0 was accepted";
    } catch (const OutOfBoundsException& e) {
        EXPECT_EQ(e.Message, "Width/Height needs to be in the range 1-32767");
    }
    EXPECT_EQ(p->W(), 0) << "the new values are already in";
    EXPECT_EQ(p->D(), 8);
    EXPECT_EQ(p->Pic(), before);
    EXPECT_TRUE(p->Aveil());
    EXPECT_TRUE(p->calls.empty()) << "no hook ran";

    p->Width(20);
    p->Height(32767);
    EXPECT_THROW(p->CreateOffscreen(32, true), OutOfBoundsException);
}

TEST(OffscreenCanvas, ScaledPositionsTruncateTowardZero)
{
    auto p = MakeProbe(480, 300);
    EXPECT_EQ(p->ScaledPosX(101), 0) << "no picture: ItsWidth is 0";
    p->CreateOffscreen(32, true);
    p->Width(960);
    p->Height(600);
    EXPECT_EQ(p->ScaledPosX(101), 50);
    EXPECT_EQ(p->ScaledPosX(-1), 0);
    EXPECT_EQ(p->ScaledPosX(-3), -1);
    EXPECT_EQ(p->ScaledPosY(599), 299);
    EXPECT_EQ(p->ScaledPosX(2000000000), 1000000000) << "no overflow in the product";
    p->Width(0);
    p->Height(0);
    EXPECT_EQ(p->ScaledPosX(101), 0);
    EXPECT_EQ(p->ScaledPosY(101), 0);
}

TEST(OffscreenCanvas, IsPointInIsHalfOpen)
{
    auto p = MakeProbe(480, 300);
    EXPECT_TRUE(p->IsPointIn(0, 0));
    EXPECT_TRUE(p->IsPointIn(479, 299));
    EXPECT_FALSE(p->IsPointIn(480, 0));
    EXPECT_FALSE(p->IsPointIn(0, 300));
    EXPECT_FALSE(p->IsPointIn(-1, 0));
    EXPECT_FALSE(p->IsPointIn(0, -1));
    EXPECT_FALSE(MakeProbe(0, 0)->IsPointIn(0, 0));
}

TEST(OffscreenCanvas, RefreshNowWithoutAWindowRaises)
{
    auto p = MakeProbe(10, 10);
    EXPECT_NO_THROW(p->CallRefreshPicture(false));
    EXPECT_THROW(p->CallRefreshPicture(true), NilObjectException);
}

TEST(OffscreenCanvas, OpeningInARealWindowRunsInitializeThenCreated)
{
    auto w = New<GameWindow>();
    w->Constructor();
    EXPECT_EQ(w->field->calls,
        (std::vector<std::string> { "Initialize", "OffscreenCreated", "PaintOffscreen", "RefreshPicture(False)" }));
    EXPECT_EQ(w->field->Window(), Ref<Window>(w));
    ProcessPendingEvents();
    auto screen = w->Snapshot();
    EXPECT_EQ(screen->Width(), 480);
    EXPECT_EQ(screen->Height(), 300);
    EXPECT_EQ(PixelAt(screen, 10, 10), 0xFF0000u);
    EXPECT_EQ(PixelAt(screen, 470, 290), 0x0000FFu);
    EXPECT_NO_THROW(w->field->CallRefreshPicture(true));
    w->Close();
}

TEST(OffscreenCanvas, CreatedWithoutAHandlerLeavesTheControlWhite)
{
    auto w = New<GameWindow>();
    w->attach = false;
    w->Constructor();
    EXPECT_EQ(w->field->calls, std::vector<std::string> { "Initialize" });
    EXPECT_FALSE(w->field->Aveil());
    ProcessPendingEvents();
    EXPECT_EQ(CountColor(w->Snapshot(), 0xFFFFFF, 0, 0, 480, 300), 480 * 300);
    w->Close();
}
