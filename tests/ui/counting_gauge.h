// A busy gauge that counts the steps and resets it is given, for window
// tests of the components that drive the main window's gauge.
#pragma once

#include <functional>

#include "activity/ui/busy_gauge.h"

namespace teluri::test {

class CountingGauge : public BusyGauge {
  public:
    CountingGauge() : BusyGauge(nullptr) {}

    void Advance(int amount) override {
        ++steps;
        if (onStep) {
            onStep();
        }
        BusyGauge::Advance(amount);
    }
    void SetPosition(int value) override {
        resets += value == 0 ? 1 : 0;
        BusyGauge::SetPosition(value);
    }

    int steps = 0;
    int resets = 0;
    // Called at every step, before the gauge moves.
    std::function<void()> onStep;
};

}  // namespace teluri::test
