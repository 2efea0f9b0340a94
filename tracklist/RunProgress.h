#pragma once
#include <cstddef>

// Told of a long run's progress after each file; it may stop the run.
class IRunProgress
{
public:
    // done of total files handled; total is 0 while it is not known yet (folders still being
    // walked). False stops the run after the file in hand.
    virtual bool Step(size_t done, size_t total) = 0;

protected:
    ~IRunProgress() = default;
};
