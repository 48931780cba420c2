#pragma once

#include "offscreen/OffscreenCanvas.h"

#include <cstdint>

// The playing field. A press shows two markers at random places; the next
// press is the player's guess of the point midway between them, which the
// field judges (hit, near or miss, with its sound) and shows with the line,
// the true midpoint, the error in whole pixels and, for a small error, a
// picture; the press after that starts the next turn. It also draws one of
// five backgrounds, kept in byte 2 of the settings.
//
// Coordinates are field pixels, origin top left; the centre is (240, 150).
// Every change of state redraws the whole scene into the offscreen picture
// and asks for one repaint. Nothing is caught here: a nil application,
// settings store, sound player or offscreen picture raises
// NilObjectException after what came before it has been stored.
class GameField : public OffscreenCanvas {
public:
    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // Judges the press while a turn runs, else starts a turn. Answers False.
    bool Event_MouseDown(int32_t x, int32_t y) override;
    // Any number is taken: 1 to 4 choose Back1Pict to Back4Pict, every
    // other Back0Pict; its last digit goes to byte 2 of the settings.
    virtual void SetBack(int32_t index);
    virtual int32_t RefBack();

protected:
    void PaintOffscreen() override;
    // Reads the background from the settings and waits for the first press.
    void Initialize() override;
    virtual void GameStart();
    virtual void GameEnd(int32_t x, int32_t y);
    // The quadrant (0 top right, 1 top left, 2 bottom left, 3 bottom right)
    // of the result picture: on the far side of the centre from the line
    // through the markers.
    virtual int32_t ResultPosition();

    // The draws of GameStart: fw::Rnd. Not one of the class's runtime
    // methods; a subclass may drive it.
    virtual double MarkerRnd();

    bool GameAvail = false;
    int32_t Point1X = 0;
    int32_t Point1Y = 0;
    int32_t Point2X = 0;
    int32_t Point2Y = 0;
    bool ResultAvail = false;
    int32_t ResultX = 0;
    int32_t ResultY = 0;
    int32_t CenterX = 0;
    int32_t CenterY = 0;
    int32_t BackIndex = 0;
    int32_t PointDiffer = 0;
};
