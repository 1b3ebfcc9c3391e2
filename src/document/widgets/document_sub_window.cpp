#include "document/widgets/document_sub_window.h"

#include <QCloseEvent>

#include "document/widgets/document_view.h"

namespace pelvoro {

DocumentView* DocumentSubWindow::view() const {
    return dynamic_cast<DocumentView*>(widget());
}

void DocumentSubWindow::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && !closed_) {
        closed_ = true;
        emit closed(this);
    }
}

}  // namespace pelvoro
