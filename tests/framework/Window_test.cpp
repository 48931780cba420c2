#include <framework/Application.h>
#include <framework/Canvas.h>
#include <framework/Label.h>
#include <framework/MenuBar.h>
#include <framework/Runtime.h>
#include <framework/SetProperties.h>
#include <framework/TextArea.h>
#include <framework/Window.h>

#include "common/TestSupport.h"
#include "common/ToolkitDriver.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fw;

namespace {

std::vector<std::string> journal;

// A fixed-size window; `buttons`: its close and minimise buttons.
struct Shape {
    int32_t placement, width, height, frame;
    bool hasBackColor;
    std::string title;
    bool buttons;
    Color backColor;
};

std::string WindowRecord(const Shape& s)
{
    return test::Record(RecordKind::Window,
        { { "Placement", s.placement }, { "Width", s.width }, { "MinWidth", s.width }, { "MaxWidth", s.width },
            { "Height", s.height }, { "MinHeight", s.height }, { "MaxHeight", s.height }, { "Frame", s.frame },
            { "HasBackColor", s.hasBackColor }, { "BackColor", s.backColor }, { "Title", s.title },
            { "Visible", true }, { "MenuBarVisible", true }, { "CloseButton", s.buttons }, { "LiveResize", true },
            { "MinimizeButton", s.buttons } });
}

class Recorded : public Window {
public:
    explicit Recorded(Shape shape, Ref<fw::MenuBar> bar = nullptr) : shape_(std::move(shape)), bar_(std::move(bar)) {}
    void Layout() override
    {
        if (bar_)
            MenuBar(bar_);
        SetProperties(Self(this), WindowRecord(shape_));
    }
    bool Event_MouseDown(int32_t x, int32_t y) override
    {
        journal.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
        if (closeOnPress)
            Close();
        return true;
    }
    bool Event_KeyDown(const std::string& key) override
    {
        journal.push_back("KeyDown " + key);
        return true;
    }
    bool closeOnPress = false;

private:
    Shape shape_;
    Ref<fw::MenuBar> bar_;
};

const Shape kMain { 2, 480, 300, 0, false, "ほろみね", true, RGB(255, 255, 255) };
const Shape kAbout { 1, 200, 80, 2, true, "ほろみねについて", false, RGB(0x30, 0x60, 0xC0) };

Ref<Recorded> Open(const Shape& shape, Ref<fw::MenuBar> bar = nullptr)
{
    auto w = New<Recorded>(shape, std::move(bar));
    w->Constructor();
    return w;
}

class Quitter : public Application {
public:
    void Event_Close() override { journal.push_back("App.Close"); }
};

class Broken : public Window {
public:
    void CreateControls() override { throw IOException("cannot build", -36); }
};

class Good : public Window {
public:
    static const ClassRecord& Record()
    {
        static const ClassRecord record { "Good.Good", &Window::Record(), {}, {}, {} };
        return record;
    }
    const ClassRecord& ClassInfo() const override { return Record(); }
};

QPoint CentreOf(const std::string& title) { return test::TopLevel(title)->frameGeometry().center(); }

} // namespace

TEST(Window, RecordsGiveTheToolkitWindowItsSizeKindButtonsPlaceAndColour)
{
    auto bar = New<fw::MenuBar>();
    bar->Append(New<MenuItem>());
    bar->Child("")->Text("File");
    Ref<Recorded> main = Open(kMain, bar);
    Ref<Recorded> about = Open(kAbout);
    ProcessPendingEvents();
    for (const Shape& s : { kMain, kAbout }) {
        QMainWindow* top = test::TopLevel(s.title);
        ASSERT_NE(top, nullptr) << s.title;
        EXPECT_EQ(top->windowType(), s.frame == 2 ? Qt::Dialog : Qt::Window);
        EXPECT_EQ(top->menuWidget() && top->menuWidget()->isVisible(), s.title == kMain.title) << "a bar of its own";
        test::ExpectFixedWindow(top, QSize(s.width, s.height),
            s.buttons ? Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint : Qt::WindowFlags());
    }
    // Within the frame's few pixels, unknown until the window shows.
    QPoint screen = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((CentreOf(kMain.title) - screen).manhattanLength(), 4) << "Placement 2: on the screen";
    EXPECT_LE((CentreOf(kAbout.title) - CentreOf(kMain.title)).manhattanLength(), 4)
        << "Placement 1: over the front window";
    EXPECT_EQ(test::PixelAt(about->Snapshot(), 5, 5), 0x3060C0u) << "HasBackColor fills the client area";
    EXPECT_EQ(main->Width(), 480);
    EXPECT_EQ(about->Title(), "ほろみねについて");
}

TEST(Window, KeysAndPressesNoControlTakesReachTheWindow)
{
    Ref<Recorded> w = Open(kMain);
    auto label = New<Label>();
    auto area = New<TextArea>();
    auto canvas = New<Canvas>(); // its MouseDown answers False
    int32_t left = 10;
    for (auto [name, c] : { std::pair<const char*, Ref<RectControl>> { "L", label }, { "C", canvas }, { "T", area } }) {
        w->AddControl(name, c);
        c->Left(left);
        c->Top(20);
        c->Width(40);
        c->Height(30);
        left += 100;
    }
    test::Activate("ほろみね");
    for (int32_t x : { 15, 115, 215, 300 })
        test::ClickAt("ほろみね", x, 26);
    QTest::keyClick(test::TopLevel("ほろみね"), Qt::Key_Shift);
    QTest::keyClick(test::TopLevel("ほろみね"), Qt::Key_A);
    EXPECT_EQ(journal, (std::vector<std::string> { "MouseDown 15,26", "MouseDown 115,26", "MouseDown 300,26",
                           "KeyDown a" }));
}

TEST(Window, ShowModalBlocksTheOthersAndReturnsWhenTheWindowCloses)
{
    Ref<Recorded> main = Open(kMain);
    auto about = New<Recorded>(Shape { kAbout });
    about->closeOnPress = true;
    about->Constructor();
    QWidget* modal = nullptr;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        test::ClickAt(kAbout.title, 3, 4);
    });
    about->ShowModal();
    ASSERT_NE(modal, nullptr);
    EXPECT_EQ(modal->windowTitle().toStdString(), kAbout.title);
    EXPECT_EQ(journal, std::vector<std::string> { "MouseDown 3,4" });
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Window, AFailedOrEarlyClosedBuildLeavesNothingOpenAndQuitEnds)
{
    auto app = New<Quitter>();
    RuntimeRegisterAppObject(app);
    app->AutoQuit(true);
    EXPECT_THROW(New<Broken>()->Constructor(), IOException);
    auto early = New<Good>();
    early->Close();
    early->Constructor();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_FALSE(GetImplicitWindow("Good.Good"));

    auto good = New<Good>();
    good->Constructor();
    EXPECT_EQ(GetImplicitWindow("Good.Good"), Ref<Window>(good));
    EXPECT_EQ(WindowCount(), 1);
    QTimer::singleShot(0, [&] { good->Close(); }); // the last open window: AutoQuit
    QTimer::singleShot(3000, [] { RuntimeQuit(99); });
    EXPECT_EQ(RuntimeRun(), 0);
    EXPECT_EQ(journal, std::vector<std::string> { "App.Close" });
    EXPECT_FALSE(GetImplicitWindow("Good.Good"));
}

// Windows let go of outside any event, as at the end of the run, leave no
// toolkit widget behind.
TEST(Window, ReleasingTheWindowsDeletesTheirWidgets)
{
    Open(kMain, New<fw::MenuBar>());
    Open(kAbout)->AddControl("C", New<Canvas>());
    RuntimeReleaseWindows();
    EXPECT_EQ(QApplication::allWidgets().size(), 0);
}
