#pragma once

// How large the 3D part of the frame (sky, floor, sprites) is drawn, per side, before it is scaled up
// to the window: chosen from the time each frame's work takes. A run of frames over the budget steps
// down; a step up waits until frames at the larger size would still fit with room to spare, and a
// step up that soon had to be taken back waits longer each time, so a frame time near the budget
// settles instead of pumping.
class RenderScale {
public:
    enum class Mode { Auto, Full };

    // The frame budget: the loop's minimum frame time.
    static constexpr double BudgetMs = 12.0;

    Mode mode() const { return chosen; }
    // A new mode starts again at the window's own size.
    void setMode(Mode mode);
    // Percent of the window's size per side, 50 to 100.
    int percent() const;
    // One drawn frame's work in milliseconds, the wait for the frame cap left out. True when the
    // scale changed.
    bool frameDone(double workMs);

private:
    void decide(double meanMs);
    void moveTo(int newStep);

    Mode chosen = Mode::Full;
    int step = 0;
    int frames = 0;
    double totalMs = 0.0;
    int settleFrames = 0;
    int fittingRuns = 0;
    int runsSinceRise = -1; // -1: the last change was no step up
    int holdRuns = 0;       // runs to wait before the next step up
    int holdAfterFall = 0;  // the last hold; a rise that lasts clears it
};
