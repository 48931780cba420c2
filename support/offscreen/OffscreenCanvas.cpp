#include "offscreen/OffscreenCanvas.h"

#include <framework/Window.h>

using namespace fw;

OffscreenCanvas::OffscreenCanvas()
{
    ItsFixedWidth = 0;
    ItsFixedHeight = 0;
}

OffscreenCanvas::~OffscreenCanvas() = default;

const ClassRecord& OffscreenCanvas::Record()
{
    static const ClassRecord record { "OffscreenCanvas", &Canvas::Record(),
        {
            Property("OffscreenPicture", &OffscreenCanvas::OffscreenPicture),
            Property("OffscreenGraphics", &OffscreenCanvas::OffscreenGraphics),
            Property("ItsWidth", &OffscreenCanvas::ItsWidth),
            Property("ItsHeight", &OffscreenCanvas::ItsHeight),
            Property("ItsDepth", &OffscreenCanvas::ItsDepth),
            Property("IsOffscreenAveil", &OffscreenCanvas::IsOffscreenAveil),
            Property("ItsFixedWidth", &OffscreenCanvas::ItsFixedWidth),
            Property("ItsFixedHeight", &OffscreenCanvas::ItsFixedHeight),
        },
        {
            Method("Event_Open", &OffscreenCanvas::Event_Open),
            Method("Event_Paint", &OffscreenCanvas::Event_Paint),
            Method("CreateOffscreen", &OffscreenCanvas::CreateOffscreen),
            Method("PaintOffscreen", &OffscreenCanvas::PaintOffscreen, Scope::Protected),
            Method("RefreshPicture", &OffscreenCanvas::RefreshPicture, Scope::Protected),
            Method("DisposeOffscreen", &OffscreenCanvas::DisposeOffscreen),
            Method("Initialize", &OffscreenCanvas::Initialize, Scope::Protected),
            Method("VersionInfo", &OffscreenCanvas::VersionInfo),
            Method("OffscreenCreated", &OffscreenCanvas::OffscreenCreated, Scope::Protected),
            Method("OffscreenDisposed", &OffscreenCanvas::OffscreenDisposed, Scope::Protected),
            Method("RefOffscreenAvail", &OffscreenCanvas::RefOffscreenAvail),
            Method("GetMouseLocalX", &OffscreenCanvas::GetMouseLocalX),
            Method("GetMouseLocalY", &OffscreenCanvas::GetMouseLocalY),
            Method("ScaledPosX", &OffscreenCanvas::ScaledPosX),
            Method("ScaledPosY", &OffscreenCanvas::ScaledPosY),
            Method("PaintCanvas", &OffscreenCanvas::PaintCanvas, Scope::Protected),
            Method("IsPointIn", &OffscreenCanvas::IsPointIn),
        },
        { "Created" } };
    return record;
}

const ClassRecord& OffscreenCanvas::ClassInfo() const { return Record(); }

void OffscreenCanvas::Event_Open()
{
    Initialize();
    if (Created.IsAttached())
        Created.Raise(Self(this));
}

void OffscreenCanvas::Event_Paint(const Ref<Graphics>& g) { PaintCanvas(g); }

void OffscreenCanvas::CreateOffscreen(int32_t depth, bool oldRenderer)
{
    ItsDepth = (depth == 1 || depth == 8 || depth == 16 || depth == 24) ? depth : 32;
    if (ItsFixedWidth > 0 && ItsFixedHeight > 0) {
        ItsWidth = ItsFixedWidth;
        ItsHeight = ItsFixedHeight;
    } else {
        ItsWidth = Width();
        ItsHeight = Height();
    }
    // A refused size raises here, before anything else changes.
    OffscreenPicture = New<Picture>(ItsWidth, ItsHeight, ItsDepth);
    if (OffscreenPicture) {
        OffscreenGraphics = OffscreenPicture->Graphics();
        OffscreenGraphics->UseOldRenderer(oldRenderer);
        IsOffscreenAveil = true;
        OffscreenCreated();
        PaintOffscreen();
        RefreshPicture(false);
    } else {
        OffscreenGraphics = nullptr;
        IsOffscreenAveil = false;
        ItsDepth = 0;
        ItsWidth = 0;
        ItsHeight = 0;
    }
}

void OffscreenCanvas::PaintOffscreen() {}

void OffscreenCanvas::RefreshPicture(bool now)
{
    Refresh(false);
    if (now)
        Window()->UpdateNow();
}

void OffscreenCanvas::DisposeOffscreen()
{
    ItsDepth = 0;
    ItsWidth = 0;
    ItsHeight = 0;
    OffscreenPicture = nullptr;
    OffscreenGraphics = nullptr;
    IsOffscreenAveil = false;
    OffscreenDisposed();
}

void OffscreenCanvas::Initialize() {}

std::string OffscreenCanvas::VersionInfo() { return "2012-05-03,1"; }

void OffscreenCanvas::OffscreenCreated() {}
void OffscreenCanvas::OffscreenDisposed() {}

bool OffscreenCanvas::RefOffscreenAvail() { return IsOffscreenAveil; }

int32_t OffscreenCanvas::GetMouseLocalX() { return MouseX() - Left(); }
int32_t OffscreenCanvas::GetMouseLocalY() { return MouseY() - Top(); }

int32_t OffscreenCanvas::ScaledPosX(int32_t x)
{
    int32_t w = Width();
    if (w == 0)
        return 0;
    // The product can pass the Int32 range on a large control; the quotient
    // cannot, so only the product is widened.
    return static_cast<int32_t>(static_cast<int64_t>(x) * ItsWidth / w);
}

int32_t OffscreenCanvas::ScaledPosY(int32_t y)
{
    int32_t h = Height();
    if (h == 0)
        return 0;
    return static_cast<int32_t>(static_cast<int64_t>(y) * ItsHeight / h);
}

void OffscreenCanvas::PaintCanvas(const Ref<Graphics>& g)
{
    if (IsOffscreenAveil) {
        if (ItsWidth == Width() && ItsHeight == Height())
            g->DrawPicture(OffscreenPicture, 0, 0);
        else
            g->DrawPicture(OffscreenPicture, 0, 0, Width(), Height(), 0, 0, ItsWidth, ItsHeight);
    } else {
        g->ForeColor(RGB(255, 255, 255));
        g->FillRect(0, 0, Width(), Height());
    }
}

bool OffscreenCanvas::IsPointIn(int32_t x, int32_t y)
{
    if (x < 0)
        return false;
    if (x >= Width())
        return false;
    if (y < 0)
        return false;
    return y < Height();
}
