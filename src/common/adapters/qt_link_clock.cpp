#include "common/adapters/qt_link_clock.h"

#include <QCoreApplication>
#include <QThread>

namespace pelvoro {

void QtLinkClock::pause(double seconds) {
    double until = elapsedSeconds() + seconds;
    while (elapsedSeconds() < until) {
        processEvents();
        double left = until - elapsedSeconds();
        if (left > 0) QThread::usleep(static_cast<unsigned long>(std::min(left, 0.005) * 1e6));
    }
}

void QtLinkClock::processEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace pelvoro
