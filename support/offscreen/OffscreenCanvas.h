#pragma once

#include <framework/Canvas.h>
#include <framework/Event.h>
#include <framework/Graphics.h>
#include <framework/Picture.h>

#include <cstdint>
#include <string>

// A canvas that owns an offscreen picture and its Graphics. A subclass draws
// the whole scene into the picture in PaintOffscreen and shows it with
// RefreshPicture; every Paint copies the picture onto the control, stretched
// when the sizes differ, or fills the control white while there is none.
//
// Opening is split in two: Open runs Initialize and raises Created, and the
// owner answers Created with CreateOffscreen, which makes the picture.
class OffscreenCanvas : public fw::Canvas {
public:
    OffscreenCanvas();
    ~OffscreenCanvas() override;

    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // Raised by Open after Initialize; the handler receives this control.
    fw::Event<fw::Ref<OffscreenCanvas>> Created;

    void Event_Open() override;
    void Event_Paint(const fw::Ref<fw::Graphics>& g) override;
    virtual void CreateOffscreen(int32_t depth, bool oldRenderer);
    virtual void DisposeOffscreen();
    virtual std::string VersionInfo();
    virtual bool RefOffscreenAvail();
    virtual int32_t GetMouseLocalX();
    virtual int32_t GetMouseLocalY();
    virtual int32_t ScaledPosX(int32_t x);
    virtual int32_t ScaledPosY(int32_t y);
    virtual bool IsPointIn(int32_t x, int32_t y);

protected:
    virtual void PaintOffscreen();
    virtual void RefreshPicture(bool now);
    virtual void Initialize();
    virtual void OffscreenCreated();
    virtual void OffscreenDisposed();
    virtual void PaintCanvas(const fw::Ref<fw::Graphics>& g);

    fw::Ref<fw::Picture> OffscreenPicture;
    fw::Ref<fw::Graphics> OffscreenGraphics;
    int32_t ItsWidth = 0;
    int32_t ItsHeight = 0;
    int32_t ItsDepth = 0;
    bool IsOffscreenAveil = false; // "Aveil": the name its class record gives it
    int32_t ItsFixedWidth = 0;
    int32_t ItsFixedHeight = 0;
};
