#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"
#include "common/ToolkitDriver.h"

#include <game/AboutWindow.h>
#include <game/Appl.h>
#include <game/HelpWindow.h>
#include <game/Menu.h>

#include <framework/Canvas.h>
#include <framework/Dispatch.h>
#include <framework/Label.h>
#include <framework/Runtime.h>
#include <framework/TabPanel.h>
#include <framework/TextArea.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace fw;

namespace {

const char kAbout[] = "ほろみねについて";
const char kHelp[] = "ほろみねの説明";

// The application with its menu bar and its two window items, and a window
// of the game's titled "main", so that neither window is the last to close.
void StartAppl()
{
    auto app = New<Appl>();
    app->MenuBar(Menu::Instance());
    RuntimeRegisterAppObject(app);
    app->AddMenuHandler("AppleAbout", BindMenuHandler(app, &Appl::AppleAbout_Action));
    app->AddMenuHandler("HelpApp", BindMenuHandler(app, &Appl::HelpApp_Action));
    auto main = New<Window>();
    main->Title("main");
    main->Constructor();
}

// Chooses an item of the help menu in the window in front.
void Choose(const std::string& inFront, const char* item)
{
    QMenu* menu = test::OpenMenu(inFront, "help");
    test::Click(menu, test::Entry(menu->actions(), item));
}

// Shows the About window from the menu, runs `inside` while it is modal
// and answers once it has closed.
void ShowAbout(const std::function<void(QMainWindow*)>& inside)
{
    QMenu* menu = test::OpenMenu("main", "help");
    QTimer::singleShot(0, [&] { inside(test::TopLevel(kAbout)); });
    QTimer::singleShot(10000, [] { RuntimeQuit(1); }); // should `inside` leave it open
    test::Click(menu, test::Entry(menu->actions(), "ほろみねについて..."));
}

void MovePointer(QMainWindow* w, int x, int y)
{
    QTest::mouseMove(w->windowHandle(), w->centralWidget()->mapTo(w, QPoint(x, y)));
}

// Whether "閉じる" is enabled when the File menu opens in that window.
bool CloseEnabled(const std::string& inFront)
{
    test::Activate(inFront);
    QMenu* menu = test::OpenMenu(inFront, "ファイル");
    bool enabled = test::Entry(menu->actions(), "閉じる")->isEnabled();
    test::CloseMenus();
    return enabled;
}

// The one text area that shows: the one on the tab in front.
QPlainTextEdit* ShownArea(QMainWindow* w)
{
    std::vector<QPlainTextEdit*> shown;
    for (auto* a : w->findChildren<QPlainTextEdit*>())
        if (a->isVisible())
            shown.push_back(a);
    EXPECT_EQ(shown.size(), 1u) << "only the tab in front shows its text";
    return shown.empty() ? nullptr : shown[0];
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line, '\r');)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(AboutAndHelp, RecordsAndTexts)
{
    for (auto [name, length] : { std::pair { "", 291u }, { "AppName", 355u + 19 }, { "AppIcon", 280u },
             { "TheTargetSystemDisplay", 295u } })
        EXPECT_EQ(AboutWindow::PropertyRecordOf(name).size(), length) << name;
    EXPECT_GT(AboutWindow::PropertyRecordOf("AppCopy").size(), 355u);
    EXPECT_EQ(HelpWindow::PropertyRecordOf("").size(), 288u);
    EXPECT_EQ(HelpWindow::PropertyRecordOf("TabPanel1").size(), 342u);

    Ref<HelpWindow> help = HelpWindow::Instance();
    EXPECT_EQ(Lines(help->TabPanel1()->TabDefinition()),
        (std::vector<std::string> { "目的", "操作", "解説", "履歴", "使用条件", "感謝" }));
    EXPECT_EQ(help->EditField1()->Text().size(), 99u);
    EXPECT_EQ(help->EditField2()->Text().size(), 658u);
    for (int tab = 1; tab <= 6; ++tab) {
        std::string name = "EditField" + std::to_string(tab);
        std::string text = Cast<TextArea>(help->ControlByName(name))->Text();
        EXPECT_EQ(HelpWindow::PropertyRecordOf(name).size(), 524u + text.size()) << name;
        EXPECT_TRUE(text.find('\n') == std::string::npos && text.back() != '\r') << name;
        for (const std::string& line : Lines(text))
            EXPECT_TRUE(tab > 3 || line.empty() || line.starts_with("\u3000")) << line;
    }
}

TEST(AboutAndHelp, AboutIsFixedAndModalWithoutCloseBoxAndAnyKeyOrPressClosesIt)
{
    StartAppl();
    const std::vector<std::function<void()>> closers = { [] { test::Press(kAbout, "A"); },
        [] { test::Press(kAbout, "Esc"); }, [] { test::ClickAt(kAbout, 150, 30); },
        [] { test::ClickAt(kAbout, 30, 62); } /* on the notice */ };
    for (const auto& close : closers) {
        ShowAbout([&](QMainWindow* w) {
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
            test::ExpectFixedWindow(w, QSize(200, 80), {});
            // The name in 12 pixels of the desktop font, every glyph found
            // in some installed font (glyph 0 is the empty box).
            auto* name = qobject_cast<QLabel*>(w->centralWidget()->childAt(70, 30));
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->text().toStdString(), "ほろみね 10.1.1");
            EXPECT_EQ(name->font().pixelSize(), 12);
            EXPECT_EQ(name->font().family(), QApplication::font().family());
            QTextLayout layout(name->text(), name->font());
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            for (const QGlyphRun& run : layout.glyphRuns())
                for (quint32 glyph : run.glyphIndexes())
                    EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
            close();
        });
        EXPECT_EQ(WindowCount(), 1);
    }
}

TEST(AboutAndHelp, TheAboutIconSwapsOnEveryCrossingAndANewWindowStartsWithIconPict)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    StartAppl();
    const uint32_t kIcon = 0x2040C0, kTamberlyn = 0xC04020, kBlank = 0xFFFFFF;
    auto icon = [] { return test::PixelAt(AboutWindow::Instance()->Snapshot(), 20, 20); };
    // Without the pictures the icon stays blank and all else works; with
    // them it alternates, and the next window shows IconPict again though
    // the last one closed on TamberlynPict.
    Ref<Canvas> kept;
    for (bool pictures : { false, true, true }) {
        if (pictures) {
            test::WritePng(test::BundleResources() / "IconPict.png", 32, 32, [&](int, int) { return kIcon; });
            test::WritePng(test::BundleResources() / "TamberlynPict.png", 32, 32, [&](int, int) { return kTamberlyn; });
        }
        ShowAbout([&](QMainWindow* w) {
            EXPECT_EQ(icon(), pictures ? kIcon : kBlank);
            MovePointer(w, 120, 10); // into the window, off the icon
            for (int crossing = 0; crossing < 3; ++crossing) {
                MovePointer(w, 30, 30);
                EXPECT_EQ(icon(), pictures ? kTamberlyn : kBlank);
                MovePointer(w, 120, 10);
                EXPECT_EQ(icon(), pictures ? kIcon : kBlank);
            }
            MovePointer(w, 30, 30);
            kept = AboutWindow::Instance()->AppIcon();
            test::Press(kAbout, "Space");
        });
        EXPECT_EQ(WindowCount(), 1);
    }
    // The icon's handlers hold their window weakly: once it has gone, a
    // crossing is reported, not run on a dead window.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Dispatch([&] { kept->MouseEnter.Raise(kept); }));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("NilObjectException"), std::string::npos);
}

TEST(AboutAndHelp, HelpIsFixedAndModelessAndOnlyItsCloseItemClosesIt)
{
    StartAppl();
    Choose("main", "ほろみねの説明...");
    QMainWindow* w = test::TopLevel(kHelp);
    ASSERT_NE(w, nullptr);
    Ref<HelpWindow> help = HelpWindow::Instance();
    EXPECT_EQ(FrontWindow(), help);
    EXPECT_EQ(w->windowModality(), Qt::NonModal);
    test::ExpectFixedWindow(w, QSize(400, 370), Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);

    // Each tab's text fills the panel while the tab is in front; a CR
    // breaks its line, two make an empty one.
    Ref<TabPanel> panel = help->TabPanel1();
    EXPECT_EQ(panel->PageCount(), 6);
    EXPECT_THROW(panel->Value(6), OutOfBoundsException);
    for (int32_t front : { 1, 0 }) {
        panel->Value(front);
        ProcessPendingEvents();
        QPlainTextEdit* area = ShownArea(w);
        ASSERT_NE(area, nullptr);
        QWidget* atCentre = w->centralWidget()->childAt(200, 200);
        EXPECT_EQ(atCentre ? atCentre->parentWidget() : nullptr, area);
        const QRect r(area->mapTo(w->centralWidget(), QPoint(0, 0)), area->size());
        EXPECT_TRUE(QRect(0, 1, 400, 369).contains(r) && r.width() >= 380 && r.height() >= 320) << "fills the panel";
        std::string text = Cast<TextArea>(help->ControlByName("EditField" + std::to_string(front + 1)))->Text();
        EXPECT_EQ(area->document()->blockCount(), std::count(text.begin(), text.end(), '\r') + 1);
    }

    // The text in front takes no typing; it can be selected and copied (as
    // its context menu does: Ctrl+C belongs to the disabled コピー item).
    QPlainTextEdit* area = ShownArea(w);
    std::string before = help->EditField1()->Text();
    QTest::mouseClick(area->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::keyClicks(area, "abc");
    QTest::keyClick(area, Qt::Key_Backspace);
    QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier);
    area->copy();
    EXPECT_EQ(help->EditField1()->Text(), before);
    std::replace(before.begin(), before.end(), '\r', '\n');
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), before);

    // On another tab; with the game's window in front "閉じる" is off and
    // Ctrl+W does nothing.
    QTabBar* tabs = w->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    EXPECT_EQ(help->TabPanel1()->Value(), 3);
    EXPECT_TRUE(CloseEnabled(kHelp));
    EXPECT_FALSE(CloseEnabled("main"));
    test::Press("main", "Ctrl+W");
    EXPECT_EQ(WindowCount(), 2);

    // Asked for again: the same window, in front, on the same tab.
    Choose("main", "ほろみねの説明...");
    EXPECT_EQ(HelpWindow::Instance(), help);
    EXPECT_EQ(FrontWindow(), help);
    EXPECT_EQ(help->TabPanel1()->Value(), 3);

    // Ctrl+W closes it alone; the next one starts on the first tab.
    test::Press(kHelp, "Ctrl+W");
    EXPECT_EQ(WindowCount(), 1);
    Choose("main", "ほろみねの説明...");
    EXPECT_NE(HelpWindow::Instance(), help);
    EXPECT_EQ(HelpWindow::Instance()->TabPanel1()->Value(), 0);
}
