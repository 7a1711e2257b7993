#include "render/RenderScale.h"

#include <algorithm>
#include <iterator>

namespace {

// Percent per side; each step draws about three quarters of the pixels of the one before.
constexpr int Steps[] = {100, 90, 80, 70, 60, 50};
constexpr int LastStep = static_cast<int>(std::size(Steps)) - 1;
// Frames averaged for one decision (about a third of a second at the cap).
constexpr int RunFrames = 24;
// Frames left out after a change: the new frame buffer is made and the driver warms up.
constexpr int SettleFrames = 4;
// A step up must leave this share of the budget free, by the frame time scaled to the larger area.
constexpr double RiseHeadroom = 0.8;
// Two fitting runs in a row before a step up.
constexpr int RunsToRise = 2;
// A fall within this many runs of a rise means the rise did not fit: the next one waits.
constexpr int RiseProbationRuns = 4;
constexpr int FirstHoldRuns = 8;
constexpr int LongestHoldRuns = 256;

double area(int step) {
    const double side = Steps[step] / 100.0;
    return side * side;
}

} // namespace

void RenderScale::setMode(Mode mode) {
    *this = RenderScale();
    chosen = mode;
}

int RenderScale::percent() const {
    return chosen == Mode::Auto ? Steps[step] : 100;
}

bool RenderScale::frameDone(double workMs) {
    if (chosen != Mode::Auto)
        return false;
    if (settleFrames > 0) {
        --settleFrames;
        return false;
    }
    totalMs += workMs;
    if (++frames < RunFrames)
        return false;
    const int before = step;
    decide(totalMs / frames);
    frames = 0;
    totalMs = 0.0;
    return step != before;
}

void RenderScale::decide(double meanMs) {
    if (runsSinceRise >= 0 && ++runsSinceRise > RiseProbationRuns) {
        runsSinceRise = -1;
        holdAfterFall = 0;
    }
    if (holdRuns > 0)
        --holdRuns;
    if (meanMs > BudgetMs) {
        fittingRuns = 0;
        if (step == LastStep)
            return;
        // Straight to the largest step that would fit, if the time follows the area.
        int next = step + 1;
        while (next < LastStep && meanMs * area(next) / area(step) > BudgetMs)
            ++next;
        if (runsSinceRise >= 0) {
            holdAfterFall = std::min(LongestHoldRuns, holdAfterFall ? 2 * holdAfterFall : FirstHoldRuns);
            holdRuns = holdAfterFall;
        }
        runsSinceRise = -1;
        moveTo(next);
        return;
    }
    if (step == 0 || holdRuns > 0 || meanMs * area(step - 1) / area(step) > BudgetMs * RiseHeadroom) {
        fittingRuns = 0;
        return;
    }
    if (++fittingRuns < RunsToRise)
        return;
    fittingRuns = 0;
    runsSinceRise = 0;
    moveTo(step - 1);
}

void RenderScale::moveTo(int newStep) {
    step = newStep;
    settleFrames = SettleFrames;
}
