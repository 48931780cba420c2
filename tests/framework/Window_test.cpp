#include <framework/Application.h>
#include <framework/Canvas.h>
#include <framework/Label.h>
#include <framework/MenuBar.h>
#include <framework/RecordWriter.h>
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

#include <climits>
#include <string>
#include <vector>

using namespace fw;

namespace {

std::vector<std::string> journal;

struct Shape {
    int32_t placement, width, height, frame;
    bool hasBackColor;
    std::string title;
    bool closeButton, minimizeButton;
    Color backColor;
};

std::string WindowRecord(const Shape& s)
{
    return test::Record(RecordKind::Window,
        { { "Placement", s.placement }, { "Width", s.width }, { "MinWidth", s.width }, { "MaxWidth", s.width },
            { "Height", s.height }, { "MinHeight", s.height }, { "MaxHeight", s.height }, { "Frame", s.frame },
            { "HasBackColor", s.hasBackColor }, { "BackColor", s.backColor }, { "Title", s.title },
            { "Visible", true }, { "MenuBarVisible", true }, { "CloseButton", s.closeButton },
            { "LiveResize", true }, { "MinimizeButton", s.minimizeButton } });
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

const Shape kMain { 2, 480, 300, 0, false, "ほろみね", true, true, RGB(255, 255, 255) };
const Shape kAbout { 1, 200, 80, 2, true, "ほろみねについて", false, false, RGB(0x30, 0x60, 0xC0) };

std::string Be(uint32_t v) { return { char(v >> 24), char(v >> 16), char(v >> 8), char(v) }; }

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

TEST(Window, TheMainWindowAndGameFieldRecordsByteForByte)
{
    std::string window = WindowRecord(kMain);
    ASSERT_EQ(window.size(), 279u);
    EXPECT_EQ(window.substr(0, 48),
        "Placement " + Be(2) + "Width " + Be(480) + "Height " + Be(300) + "MinWidth " + Be(480));
    std::vector<RecordEntry> entries = ReadProperties(Window::Record(), window);
    ASSERT_EQ(entries.size(), 21u);
    EXPECT_EQ((std::vector<size_t> { entries[0].Offset, entries[1].Offset, entries[2].Offset, entries[3].Offset }),
        (std::vector<size_t> { 0, 14, 24, 35 }));
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].Name, RecordWriter::Keys(RecordKind::Window)[i]);
    EXPECT_EQ(std::get<std::string>(entries[11].Contents), "ほろみね");

    std::string bytes = test::Record(RecordKind::Canvas,
        { { "Name", "TheGameField" }, { "Index", INT_MIN }, { "Width", 480 }, { "Height", 300 },
            { "EraseBackground", true }, { "Enabled", true }, { "AutoDeactivate", true }, { "Visible", true } });
    ASSERT_EQ(bytes.size(), 285u);
    EXPECT_EQ(bytes.substr(254), "Index " + Be(0x80000000) + "Name " + Be(12) + "TheGameField");
}

TEST(Window, RecordsGiveTheToolkitWindowItsSizeKindButtonsPlaceAndColour)
{
    auto bar = New<fw::MenuBar>();
    bar->Append(New<MenuItem>());
    bar->Child("")->Text("File");
    Ref<Recorded> main = Open(kMain, bar);
    Ref<Recorded> about = Open(kAbout);
    ProcessPendingEvents();
    struct Expect {
        Shape shape;
        Qt::WindowType type;
        bool hasBar;
    } cases[] = { { kMain, Qt::Window, true }, { kAbout, Qt::Dialog, false } };
    for (const Expect& e : cases) {
        QMainWindow* top = test::TopLevel(e.shape.title);
        ASSERT_NE(top, nullptr) << e.shape.title;
        EXPECT_EQ(top->windowType(), e.type);
        Qt::WindowFlags f = top->windowFlags();
        EXPECT_EQ(bool(f & Qt::WindowCloseButtonHint), e.shape.closeButton);
        EXPECT_EQ(bool(f & Qt::WindowMinimizeButtonHint), e.shape.minimizeButton);
        EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
        EXPECT_EQ(top->centralWidget()->size(), QSize(e.shape.width, e.shape.height)) << "the client area";
        int bar = e.hasBar ? top->menuWidget()->height() : 0;
        EXPECT_EQ(e.hasBar, bar > 0);
        EXPECT_EQ(top->size(), QSize(e.shape.width, e.shape.height + bar)) << "the bar above the client area";
        EXPECT_EQ(top->minimumSize(), top->size()) << "fixed: cannot be resized";
        EXPECT_EQ(top->maximumSize(), top->size());
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
