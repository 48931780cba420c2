#pragma once

#include <framework/RectControl.h>

#include <cstdint>
#include <string>

namespace fw {

// Pages under a row of tabs; one page is in front. Controls lie on a page
// through their InitialParent (this panel's name) and TabPanelIndex (1 for
// the first page), and show only while their page is in front.
//
// Accepted from records and kept without effect (Object::KeptValue):
// SmallTabs (the tabs are always as small as their captions allow).
class TabPanel : public RectControl {
public:
    TabPanel();
    ~TabPanel() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The captions of the pages, one per page, separated by single CR
    // bytes: "A\rB" makes two pages; "" none.
    std::string TabDefinition() const;
    void TabDefinition(const std::string& captions);
    // The page in front, 0 for the first; raises OutOfBoundsException for a
    // page the panel does not have (0 is always allowed).
    int32_t Value() const;
    void Value(int32_t page);
    int32_t PageCount() const;

    // The text style of the captions.
    using RectControl::Bold;
    using RectControl::Italic;
    using RectControl::TextFont;
    using RectControl::TextSize;
    using RectControl::TextUnit;
    using RectControl::Underline;

private:
    std::string definition_;
};

} // namespace fw
