#include <framework/Canvas.h>
#include <framework/Dispatch.h>
#include <framework/Graphics.h>
#include <framework/Runtime.h>
#include <framework/Window.h>

#include <gtest/gtest.h>

using namespace fw;

namespace {
class ThrowingCanvas : public Canvas {
public:
    int paints = 0;
    void Event_Paint(const Ref<Graphics>&) override
    {
        ++paints;
        throw IOException("disk gone", -36);
    }
    bool Event_MouseDown(int32_t, int32_t) override
    {
        Ref<Canvas> nil;
        nil->Refresh();
        return true;
    }
};

class TestWindow : public Window {
public:
    Ref<ThrowingCanvas> canvas = New<ThrowingCanvas>();
    void CreateControls() override
    {
        Width(100);
        Height(60);
        canvas->Width(100);
        canvas->Height(60);
        AddControl("Thrower", canvas);
    }
};
} // namespace

TEST(Dispatch, ReportsTheClassAndMessageAndGoesOn)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Dispatch([] { throw NilObjectException("no window"); }));
    EXPECT_FALSE(Dispatch([] { throw std::runtime_error("plain"); }));
    EXPECT_FALSE(Dispatch([] { throw 42; }));
    EXPECT_TRUE(Dispatch([] {}));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("NilObjectException: no window"), std::string::npos) << err;
    EXPECT_NE(err.find("RuntimeException: plain"), std::string::npos) << err;
    EXPECT_NE(err.find("unknown type"), std::string::npos) << err;
}

TEST(Dispatch, AnExceptionInARealPaintIsReportedAndTheLoopGoesOn)
{
    auto w = New<TestWindow>();
    testing::internal::CaptureStderr();
    w->Constructor();
    w->UpdateNow();
    ProcessPendingEvents();
    int paintsBefore = w->canvas->paints;
    EXPECT_GE(paintsBefore, 1);

    // The loop still serves the window: another repaint arrives.
    w->canvas->Refresh();
    w->UpdateNow();
    ProcessPendingEvents();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_GT(w->canvas->paints, paintsBefore);
    EXPECT_NE(err.find("IOException: disk gone (error -36)"), std::string::npos) << err;
    w->Close();
}

TEST(Dispatch, AnExceptionLeavingStartUpLeavesInitialisationAndTheExitStatusIsOne)
{
    static int runs = 0;
    RuntimeSetExceptionHelper(CallFunctionWithExceptionHandling);
    RunFrameworkInitialization(+[] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(RunFrameworkInitialization(+[] { throw IOException("disk gone", -36); }), IOException);
    testing::internal::CaptureStderr();
    UnhandledException(std::make_exception_ptr(std::runtime_error("plain")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "horomine: unhandled RuntimeException: plain\n");
    EXPECT_EQ(RuntimeExit(), 1);
}
