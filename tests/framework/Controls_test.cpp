#include <framework/Canvas.h>
#include <framework/Dispatch.h>
#include <framework/Graphics.h>
#include <framework/Label.h>
#include <framework/Picture.h>
#include <framework/RecordWriter.h>
#include <framework/Runtime.h>
#include <framework/SetProperties.h>
#include <framework/TabPanel.h>
#include <framework/TextArea.h>
#include <framework/Window.h>

#include "common/TestSupport.h"
#include "common/ToolkitDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

using namespace fw;

namespace {

const std::string kCaptions = "目的\r操作\r解説\r履歴\r使用条件\r感謝";
const std::string kText = "一行目\r\r三行目";

// The Help window's layout: a tab panel and one read-only text area on
// each page, made by the creation protocol.
class Pages : public Window {
public:
    void Layout() override
    {
        Width(400);
        Height(370);
        Title("pages");
    }
    void CreateControls() override
    {
        AddControl("TabPanel1", New<TabPanel>());
        Cast<TabPanel>(ControlByName("TabPanel1"))->TextSize(9);
        std::string panel = test::Record(RecordKind::TabPanel,
            { { "Name", "TabPanel1" }, { "Index", INT_MIN }, { "Top", 1 }, { "Width", 400 }, { "Height", 369 },
                { "TabStop", true }, { "TabDefinition", kCaptions }, { "SmallTabs", true }, { "Visible", true },
                { "AutoDeactivate", true }, { "Enabled", true }, { "TextFont", "System" } });
        SetProperties(ControlByName("TabPanel1"), panel);
        for (int32_t page = 1; page <= 6; ++page) {
            std::string name = "EditField" + std::to_string(page);
            Ref<TextArea> area = New<TextArea>();
            area->Constructor();
            AddControl(name, area);
            area = nullptr;
            Cast<TextArea>(ControlByName(name))->TextSize(12);
            Cast<TextArea>(ControlByName(name))->TextUnit(0);
            SetProperties(ControlByName(name), AreaRecord(name, page));
        }
    }
    static std::string AreaRecord(const std::string& name, int32_t page)
    {
        std::map<std::string, Value> values { { "Name", name }, { "Index", INT_MIN }, { "Left", 6 }, { "Top", 23 },
            { "Width", 388 }, { "Height", 342 }, { "TabPanelIndex", page }, { "BackColor", RGB(255, 255, 255) },
            { "TextFont", "System" }, { "Text", kText }, { "InitialParent", "TabPanel1" } };
        for (const char* key : { "TabStop", "Border", "Multiline", "ScrollbarVertical", "Enabled", "Visible",
                 "AutoDeactivate", "HideSelection", "ReadOnly" })
            values[key] = true;
        return test::Record(RecordKind::TextArea, values);
    }
};

std::vector<std::string> journal;

class Icons : public Window {
public:
    void Layout() override
    {
        Width(200);
        Height(80);
        Title("icons");
    }
    void CreateControls() override
    {
        auto name = New<Label>();
        AddControl("AppName", name);
        name->TextUnit(0);
        name->TextSize(12);
        name->Text("ほろみね 10.1.1");
        name->Left(64);
        name->Top(24);
        name->Width(100);
        name->Height(16);
        auto icon = New<Canvas>();
        AddControl("AppIcon", icon);
        icon->Left(16);
        icon->Top(16);
        icon->Width(32);
        icon->Height(32);
        icon->Backdrop(Red());
        icon->MouseEnter.Attach(BindWeak(Self(this), &Icons::AppIcon_MouseEnter));
        icon->MouseExit.Attach(BindWeak(Self(this), &Icons::AppIcon_MouseExit));
    }
    void AppIcon_MouseEnter(Ref<Canvas> sender)
    {
        journal.push_back("enter");
        sender->Backdrop(nullptr);
    }
    void AppIcon_MouseExit(Ref<Canvas> sender)
    {
        journal.push_back("exit");
        sender->Backdrop(Red());
    }
    static Ref<Picture> Red()
    {
        auto p = New<Picture>(32, 32, 32);
        p->Graphics()->ForeColor(RGB(255, 0, 0));
        p->Graphics()->FillRect(0, 0, 32, 32);
        return p;
    }
};

} // namespace

TEST(Controls, TextAreasFillTheirTabPageAndShowOnlyWhileItIsInFront)
{
    auto w = New<Pages>();
    w->Constructor();
    QMainWindow* top = test::Activate("pages");
    ASSERT_NE(top, nullptr);
    auto panel = Cast<TabPanel>(w->ControlByName("TabPanel1"));
    EXPECT_EQ(panel->PageCount(), 6);
    for (int32_t front : { 0, 3 }) {
        panel->Value(front);
        ProcessPendingEvents();
        std::vector<QPlainTextEdit*> shown;
        for (auto* edit : top->centralWidget()->findChildren<QPlainTextEdit*>())
            if (edit->isVisible())
                shown.push_back(edit);
        ASSERT_EQ(shown.size(), 1u) << "only the page in front shows its text area";
        auto* atCentre = top->centralWidget()->childAt(200, 200);
        EXPECT_EQ(atCentre ? atCentre->parentWidget() : nullptr, shown[0]->viewport()->parentWidget());
        QRect r(shown[0]->mapTo(top->centralWidget(), QPoint(0, 0)), shown[0]->size());
        EXPECT_TRUE(QRect(0, 1, 400, 369).contains(r)) << "inside the panel";
        EXPECT_GE(r.width(), 380);
        EXPECT_GE(r.height(), 320);
        EXPECT_EQ(shown[0]->document()->blockCount(), 3) << "CR breaks the line; two make an empty one";
    }
    // Read-only: typing changes nothing, selecting and copying work.
    test::ClickAt("pages", 200, 200);
    QTest::keyClick(top->focusWidget(), Qt::Key_X);
    QTest::keyClick(top->focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(top->focusWidget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Cast<TextArea>(w->ControlByName("EditField4"))->Text(), kText);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "一行目\n\n三行目");
    EXPECT_EQ(panel->TabDefinition(), kCaptions);
    EXPECT_THROW(panel->Value(6), OutOfBoundsException);
}

TEST(Controls, LabelsTakePixelSizesAndTheDesktopFontCanvasesTheirBackdropAndWeakBindings)
{
    auto w = New<Icons>();
    w->Constructor();
    test::Activate("icons");
    ProcessPendingEvents();
    auto* label = qobject_cast<QLabel*>(test::TopLevel("icons")->centralWidget()->childAt(70, 30));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->font().pixelSize(), 12);
    EXPECT_EQ(label->font().family(), QApplication::font().family());
    // Every glyph found in some installed font (the CJK one for Japanese):
    // no glyph 0, the empty box.
    QTextLayout layout(label->text(), label->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
    EXPECT_EQ(test::PixelAt(w->Snapshot(), 20, 20), 0xFF0000u) << "the backdrop";

    QWidget* icon = test::TopLevel("icons")->centralWidget()->childAt(20, 20);
    QTest::mouseMove(icon, QPoint(10, 10));
    QTest::mouseMove(label, QPoint(10, 10));
    EXPECT_EQ(journal, (std::vector<std::string> { "enter", "exit" }));

    Ref<Canvas> kept = Cast<Canvas>(w->ControlByName("AppIcon"));
    w->Close();
    w = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Dispatch([&] { kept->MouseEnter.Raise(kept); })) << "the window has gone";
    EXPECT_NE(testing::internal::GetCapturedStderr().find("NilObjectException"), std::string::npos);
}
