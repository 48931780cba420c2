#pragma once

#include <framework/Canvas.h>
#include <framework/Graphics.h>

#include <string>

// A 16 x 8 badge: paints the cell at (0, 32) of TargetSystemPict at its own
// top left corner, whatever its size. No state, no input.
class TargetSystemDisplay : public fw::Canvas {
public:
    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    void Event_Paint(const fw::Ref<fw::Graphics>& g) override;
    virtual std::string VersionInfo();
};
