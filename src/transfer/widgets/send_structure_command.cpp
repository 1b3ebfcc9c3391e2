#include "transfer/widgets/send_structure_command.h"

#include <QAction>
#include <QCloseEvent>
#include <QPointer>

#include "app/widgets/main_window.h"
#include "document/widgets/document_view.h"
#include "instrument/instrument_context.h"
#include "instrument/widgets/instrument_commands.h"
#include "protocols/family_a/structure_send.h"

namespace pelvoro {

namespace {

// Keeps the document being sent, and the program, open until the send has ended: their
// close requests are refused meanwhile.
class CloseRefusal : public QObject {
  public:
    explicit CloseRefusal(std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets)
            if (w) {
                w->installEventFilter(this);
                watched_.push_back(w);
            }
    }
    ~CloseRefusal() override {
        for (const QPointer<QWidget>& w : watched_)
            if (w) w->removeEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close) return false;
        event->ignore();
        return true;
    }

  private:
    std::vector<QPointer<QWidget>> watched_;
};

void runSendStructure(TfrmMainForm& window) {
    InstrumentContext* ctx = instrumentContext(window);
    DocumentView* view = window.activeDocumentView();
    if (!ctx || !view || transferRunning(window)) return;
    InstrumentTransfer transfer(window);
    for (const char* button : {"tbnDownLoad", "tbnSend"})
        if (QAction* a = window.action(button)) a->setEnabled(false);
    CloseRefusal keepOpen({window.activeDocumentWindow(), &window});
    sendStructure(*ctx, view->document());
}

}  // namespace

void installSendStructureCommand(TfrmMainForm& window) {
    QPointer<TfrmMainForm> w(&window);
    window.setCommandHandler("SendStructure", [w](int) {
        if (w) runSendStructure(*w);
    });
}

}  // namespace pelvoro
