#include "game/HelpWindow.h"

#include "game/Appl.h"
#include "game/WindowRecords.h"

#include <framework/MenuBar.h>
#include <framework/MenuItem.h>
#include <framework/RecordWriter.h>
#include <framework/SetProperties.h>
#include <framework/TabPanel.h>
#include <framework/TextArea.h>

#include <climits>
#include <initializer_list>
#include <map>
#include <string_view>

using namespace fw;

namespace {

// The text areas break lines at a single CR, never LF; no text ends with one.
std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines) {
        if (&line != lines.begin())
            text += '\r';
        text += line;
    }
    return text;
}

// A line of prose opens with an ideographic space, as a Japanese paragraph does.
std::string Prose(std::string_view line) { return "\u3000" + std::string(line); }

// The history: a version's date and number, then its changes indented.
std::string Version(std::string_view date, std::string_view number)
{
    return std::string(date) + "\u3000" + std::string(number);
}
std::string Change(std::string_view line) { return "\u3000\u3000\u3000\u3000\u3000" + std::string(line); }

const std::string& TabCaptions()
{
    static const std::string captions = Lines({ "目的", "操作", "解説", "履歴", "使用条件", "感謝" });
    return captions;
}

std::string Purpose() { return Lines({ Prose("ウインドウ内に表示される二つの点の中間点をクリックしてください。") }); }

std::string Operation()
{
    return Lines({
        Prose("ウインドウ内でクリックするとゲーム開始です。"),
        "",
        Prose("赤と青、二つのマーカーが表示されるので、その中間点をクリックしてください。"),
        Prose("クリックすると、クリックした位置と正しい中間点が表示されて、ウインドウ右上に誤差が表示されます。このとき、誤差が０なら「あたり」、誤差が５以内なら「おしい」とウインドウ上に表示されます。"),
        "",
        Prose("「ゲーム」メニューの「背景」でウインドウの背景を変える事ができます。"),
        "",
        Prose("「ゲーム」メニューの「効果音」で音量を調節できます。"),
    });
}

std::string Commentary()
{
    return Lines({
        Prose("「ほろみね」は、二つの点の中間点をクリックするだけの暇つぶしゲームです。"),
        "",
        Prose("全くの暇つぶし用に作ってみたので、一生懸命やるような物ではありません。"),
        "",
        "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000" "2018.8.5 ほろみね開発チーム",
    });
}

std::string History()
{
    return Lines({
        Version("2018.08.05", "10.1.1"),
        Change("背景パターンの追加"),
        Change("グラフィックの微調整"),
        Change("内部処理の調整"),
        Version("2017.09.19", "10.1.0"),
        Change("背景パターンの追加"),
        Change("背景設定を保存するよう変更"),
        Version("2013.02.06", "10.0.0"),
        Change("新しい開発環境に移行"),
        Change("効果音の追加"),
        Change("デザインの調整"),
        Version("2013.01.23", "1.0.2"),
        Change("メニュー名の変更"),
        Change("内部処理の調整"),
        Version("2002.07.23", "1.0.1"),
        Change("結果表示の変更"),
        Change("新しい開発環境に移行"),
        Version("2001.06.09", "1.0.0"),
        Change("初版"),
    });
}

std::string TermsOfUse()
{
    return Lines({
        Prose("「ほろみね」はフリーウェアです。コピーや譲渡は自由ですが、内容の変更はできません。そのほか、フリーウェアとしての一般的なルールに従ってください。"),
        "",
        Prose("再配布は自由です。ネットワークへのアップロード、CD-ROMへの収録、そのほかどのような媒体による配布にも、作者の許可は必要ありません。"),
    });
}

std::string Thanks()
{
    return Lines({
        Prose("このゲームは、次のものを使って作られています。"),
        "",
        "・デスクトップツールキット Qt",
        "・Noto CJK フォント",
        "・テストフレームワーク GoogleTest",
        "",
        Prose("これらを公開し、育ててくださっている皆様に感謝いたします。"),
    });
}

const std::string& HelpRecord()
{
    static const std::string record = WindowRecord({ .Placement = 1, .Width = 400, .Height = 370, .Frame = 0,
        .HasBackColor = true, .Title = "ほろみねの説明", .CloseButton = true, .MinimizeButton = true });
    return record;
}

std::string TabPanelRecord()
{
    return RecordWriter(RecordKind::TabPanel)
        .Set("Name", "TabPanel1")
        .Set("Index", INT32_MIN)
        .Set("Left", 0)
        .Set("Top", 1)
        .Set("Width", 400)
        .Set("Height", 369)
        .Set("LockLeft", false)
        .Set("LockTop", false)
        .Set("LockRight", false)
        .Set("LockBottom", false)
        .Set("TabPanelIndex", 0)
        .Set("TabIndex", 0)
        .Set("TabStop", true)
        .Set("TabDefinition", TabCaptions())
        .Set("SmallTabs", true)
        .Set("Value", 0)
        .Set("Visible", true)
        .Set("HelpTag", "")
        .Set("AutoDeactivate", true)
        .Set("Enabled", true)
        .Set("TextFont", "System")
        .Set("Bold", false)
        .Set("Italic", false)
        .Set("Underline", false)
        .Set("InitialParent", "")
        .Bytes();
}

// The text area of tab `page` (1 to 6), on that page of the tab panel.
std::string EditFieldRecord(int32_t page, const std::string& text)
{
    return RecordWriter(RecordKind::TextArea)
        .Set("Name", "EditField" + std::to_string(page))
        .Set("Index", INT32_MIN)
        .Set("Left", 6)
        .Set("Top", 23)
        .Set("Width", 388)
        .Set("Height", 342)
        .Set("LockLeft", false)
        .Set("LockTop", false)
        .Set("LockRight", false)
        .Set("LockBottom", false)
        .Set("TabPanelIndex", page)
        .Set("TabIndex", 0)
        .Set("TabStop", true)
        .Set("Border", true)
        .Set("Multiline", true)
        .Set("ScrollbarHorizontal", false)
        .Set("ScrollbarVertical", true)
        .Set("Styled", false)
        .Set("UseFocusRing", false)
        .Set("TextColor", RGB(0, 0, 0))
        .Set("BackColor", RGB(255, 255, 255))
        .Set("Enabled", true)
        .Set("Format", "")
        .Set("Visible", true)
        .Set("HelpTag", "")
        .Set("AutoDeactivate", true)
        .Set("HideSelection", true)
        .Set("TextFont", "System")
        .Set("Bold", false)
        .Set("Italic", false)
        .Set("Underline", false)
        .Set("Text", text)
        .Set("Mask", "")
        .Set("ReadOnly", true)
        .Set("LimitText", 0)
        .Set("AcceptTabs", false)
        .Set("Alignment", 0)
        .Set("AutomaticallyCheckSpelling", false)
        .Set("DataSource", "")
        .Set("DataField", "")
        .Set("InitialParent", "TabPanel1")
        .Bytes();
}

const std::map<std::string, std::string>& Records()
{
    static const std::map<std::string, std::string> records {
        { "", HelpRecord() },
        { "TabPanel1", TabPanelRecord() },
        { "EditField1", EditFieldRecord(1, Purpose()) },
        { "EditField2", EditFieldRecord(2, Operation()) },
        { "EditField3", EditFieldRecord(3, Commentary()) },
        { "EditField4", EditFieldRecord(4, History()) },
        { "EditField5", EditFieldRecord(5, TermsOfUse()) },
        { "EditField6", EditFieldRecord(6, Thanks()) },
    };
    return records;
}

} // namespace

const ClassRecord& HelpWindow::Record()
{
    static const ClassRecord record { "HelpWindow.HelpWindow", &Window::Record(), {},
        {
            Method("Layout", &HelpWindow::Layout),
            Method("CreateControls", &HelpWindow::CreateControls),
            Method("CreateControls0", &HelpWindow::CreateControls0, Scope::Hidden),
            Method("TabPanel1", &HelpWindow::TabPanel1),
            Method("EditField1", &HelpWindow::EditField1),
            Method("EditField2", &HelpWindow::EditField2),
            Method("EditField3", &HelpWindow::EditField3),
            Method("EditField4", &HelpWindow::EditField4),
            Method("EditField5", &HelpWindow::EditField5),
            Method("EditField6", &HelpWindow::EditField6),
            Method("AddMenuHandlers", &HelpWindow::AddMenuHandlers),
            Method("Event_EnableMenuItems", &HelpWindow::Event_EnableMenuItems),
            Method("FileClose_Action", &HelpWindow::FileClose_Action),
        },
        {} };
    return record;
}

const ClassRecord& HelpWindow::ClassInfo() const { return Record(); }

Ref<HelpWindow> HelpWindow::Instance() { return ImplicitInstance<HelpWindow>(); }

const std::string& HelpWindow::PropertyRecordOf(const std::string& name) { return Records().at(name); }

void HelpWindow::Layout() { SetProperties(Self(this), HelpRecord()); }

void HelpWindow::CreateControls() { CreateControls0(); }

void HelpWindow::CreateControls0()
{
    {
        Ref<TabPanel> panel = New<TabPanel>();
        panel->Constructor();
        AddControl("TabPanel1", panel);
    }
    TabPanel1()->TextSize(9.0f);
    TabPanel1()->TextUnit(0);
    SetProperties(TabPanel1(), Records().at("TabPanel1"));

    for (const char* name : { "EditField1", "EditField2", "EditField3", "EditField4", "EditField5", "EditField6" }) {
        {
            Ref<TextArea> area = New<TextArea>();
            area->Constructor();
            AddControl(name, area);
        }
        Cast<TextArea>(ControlByName(name))->TextSize(12.0f);
        Cast<TextArea>(ControlByName(name))->TextUnit(0);
        SetProperties(ControlByName(name), Records().at(name));
    }
}

Ref<TabPanel> HelpWindow::TabPanel1() { return Cast<TabPanel>(ControlByName("TabPanel1")); }
Ref<TextArea> HelpWindow::EditField1() { return Cast<TextArea>(ControlByName("EditField1")); }
Ref<TextArea> HelpWindow::EditField2() { return Cast<TextArea>(ControlByName("EditField2")); }
Ref<TextArea> HelpWindow::EditField3() { return Cast<TextArea>(ControlByName("EditField3")); }
Ref<TextArea> HelpWindow::EditField4() { return Cast<TextArea>(ControlByName("EditField4")); }
Ref<TextArea> HelpWindow::EditField5() { return Cast<TextArea>(ControlByName("EditField5")); }
Ref<TextArea> HelpWindow::EditField6() { return Cast<TextArea>(ControlByName("EditField6")); }

void HelpWindow::AddMenuHandlers(const Ref<Window>& target)
{
    Ref<HelpWindow> window = Cast<HelpWindow>(target);
    AddMenuHandler("FileClose", BindMenuHandler(window, &HelpWindow::FileClose_Action));
}

void HelpWindow::Event_EnableMenuItems() { FileClose()->Enabled(true); }

bool HelpWindow::FileClose_Action()
{
    Close();
    return false;
}

Ref<MenuItem> FileClose() { return Cast<MenuItem>(App()->MenuBar()->Lookup("FileClose")); }
