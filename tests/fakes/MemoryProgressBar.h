#pragma once

#include "conversion/ProgressView.h"

// A progress bar that only holds its range and position.
class MemoryProgressBar : public IProgressBar {
public:
    int Position() const override { return position; }
    int Maximum() const override { return maximum; }
    void SetRange(int min, int max) override {
        minimum = min;
        maximum = max;
    }
    void SetPosition(int p) override { position = p; }
    int minimum = 0, maximum = 100, position = 0;
};
