#pragma once
// Wall-clock time for instrument time-outs. The real clock lets user-interface events
// run while it waits; the test clock advances virtually.

namespace pelvoro {

class LinkClock {
  public:
    virtual ~LinkClock() = default;
    // Seconds since an arbitrary fixed point.
    virtual double elapsedSeconds() = 0;
    // Waits the given time while letting pending events run.
    virtual void pause(double seconds) = 0;
    // Lets pending events run once.
    virtual void processEvents() = 0;
};

}  // namespace pelvoro
