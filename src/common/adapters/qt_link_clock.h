#pragma once
#include <QElapsedTimer>

#include "common/link_clock.h"

namespace pelvoro {

// Wall-clock time; waiting lets the user-interface events run (repaints, Cancel).
class QtLinkClock : public LinkClock {
  public:
    QtLinkClock() { timer_.start(); }
    double elapsedSeconds() override { return timer_.nsecsElapsed() / 1e9; }
    void pause(double seconds) override;
    void processEvents() override;

  private:
    QElapsedTimer timer_;
};

}  // namespace pelvoro
