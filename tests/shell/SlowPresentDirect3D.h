// A device that draws slowly on purpose, for the tests of the timer's
// made-up steps: every Present of its swap chains sleeps a fixed time
// first. It wraps the headless device, so the sleep is all a frame costs
// and the test's timing does not hang on how fast the machine draws.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "d3d9.h"

// Shared by the factory and everything it makes, so a test can read it.
struct SlowPresentCounters
{
    std::atomic<int> presents{0};
};

// A factory of Direct3D objects whose devices are headless devices with
// every Present delayed by delay.
Direct3DFactory MakeSlowPresentFactory(std::chrono::milliseconds delay,
                                       std::shared_ptr<SlowPresentCounters> counters);
