// Feeds any bytes to the property-record reader, as a record for an object
// whose class has every name that records carry. A record either raises
// RuntimeException or reads whole; then writing its entries again gives
// the same bytes, and applying it sets each property to its value.

#include <framework/Object.h>
#include <framework/SetProperties.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace fw;

namespace {

class Target : public Object {
public:
    static const ClassRecord& Record()
    {
        static const ClassRecord record = [] {
            ClassRecord r { "Target", &Object::Record(), {}, {}, {} };
            auto add = [&](PropertyType type, std::initializer_list<const char*> names) {
                for (const char* name : names)
                    r.Properties.push_back(Kept(name, type));
            };
            add(PropertyType::Int32, { "Placement", "Width", "Height", "MinWidth", "MinHeight", "MaxWidth",
                                         "MaxHeight", "Frame", "MacProcID", "Left", "Top", "Index", "TabIndex",
                                         "TabPanelIndex", "TextAlign", "Value", "LimitText", "Alignment" });
            add(PropertyType::String, { "Title", "Name", "Text", "TextFont", "HelpTag", "InitialParent", "DataField",
                                          "DataSource", "TabDefinition", "Format", "Mask" });
            add(PropertyType::Color, { "BackColor", "TextColor" });
            add(PropertyType::Boolean,
                { "Composite", "HasBackColor", "Visible", "FullScreen", "MenuBarVisible", "CloseButton", "Resizeable",
                    "LiveResize", "MaximizeButton", "MinimizeButton", "Enabled", "AutoDeactivate", "TabStop",
                    "LockLeft", "LockTop", "LockRight", "LockBottom", "Underline", "Italic", "Bold", "Transparent",
                    "Selectable", "Multiline", "EraseBackground", "DoubleBuffer", "AcceptTabs", "AcceptFocus",
                    "UseFocusRing", "SmallTabs", "Border", "ScrollbarHorizontal", "ScrollbarVertical", "Styled",
                    "HideSelection", "ReadOnly", "AutomaticallyCheckSpelling" });
            // Names that no record may carry.
            r.Properties.push_back(PropertyRecord { "TextSize", PropertyType::Single, Scope::Public, {} });
            r.Properties.push_back(PropertyRecord { "Picture", PropertyType::Object, Scope::Public, {} });
            return r;
        }();
        return record;
    }
    const ClassRecord& ClassInfo() const override { return Record(); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly `size` bytes, so that reading one byte past the
    // record is caught.
    std::vector<char> bytes(data, data + size);
    std::string_view record(bytes.data(), bytes.size());
    std::vector<RecordEntry> entries;
    try {
        entries = ReadProperties(Target::Record(), record);
    } catch (const RuntimeException&) {
        return 0;
    }
    std::string again;
    for (const RecordEntry& e : entries)
        again += EncodeEntry(e.Name, e.Contents);
    if (again != record)
        std::abort();
    Ref<Target> target = New<Target>();
    SetProperties(target, record);
    std::map<std::string, Value> last;
    for (const RecordEntry& e : entries)
        last[e.Name] = e.Contents;
    for (const auto& [name, value] : last) {
        const Value* kept = target->KeptValue(name);
        if (!kept || !(*kept == value))
            std::abort();
    }
    return 0;
}
