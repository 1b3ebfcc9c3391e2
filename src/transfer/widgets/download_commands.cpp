#include "transfer/widgets/download_commands.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QPointer>

#include "app/widgets/main_window.h"
#include "document/widgets/child_form.h"
#include "document/widgets/document_commands.h"
#include "files/transfer_folder.h"
#include "files/widgets/file_commands_qt.h"
#include "instrument/instrument_context.h"
#include "instrument/widgets/instrument_commands.h"
#include "protocols/download_command.h"

namespace pelvoro {

namespace {

// Refuses every close of the window it watches (the close box, File > Close, Ctrl+F4):
// the download is still filling the window's document.
class CloseRefusal : public QObject {
  public:
    CloseRefusal(QObject* watched, Prompts& prompts) : QObject(watched), prompts_(prompts) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close) return false;
        event->ignore();
        prompts_.beep();
        return true;
    }

  private:
    Prompts& prompts_;
};

// The download's document windows in the main window's area.
class MainWindowDownloadHost : public DownloadHost {
  public:
    explicit MainWindowDownloadHost(TfrmMainForm& w) : main_(w) {}

    int nextDownloadNumber() override { return ++main_.downloadCounter; }
    std::shared_ptr<ResultsHook> resultsReader() override { return screenResultsHook(); }
    StructureDocument* createDownloadDocument(std::unique_ptr<StructureDocument> document,
                                              const std::string& caption) override {
        TfrmChildForm* form = openDocumentWindow(main_, std::move(document), caption);
        if (!form) return nullptr;
        // The content panel stays hidden until the download is loaded, and the window
        // cannot be closed until then.
        form->hide();
        form_ = form;
        if (DocumentSubWindow* win = form->subWindow())
            refusal_ = new CloseRefusal(win, main_.prompts());
        return &form->document();
    }
    ~MainWindowDownloadHost() override { allowClose(); }
    void downloadLoaded(StructureDocument& doc) override {
        allowClose();
        TfrmChildForm* form = formOf(doc);
        if (!form) return;
        form->show();
        showLoadedDocument(main_, *form);
        showDocumentInstrumentData(main_, doc.InstrumentData);
        main_.RefreshCommandState();
    }
    void discardDownload(StructureDocument& doc) override {
        allowClose();
        TfrmChildForm* form = formOf(doc);
        if (!form) return;
        // Nothing to save: the window goes without a question.
        form->setCloseQuestion([](TfrmChildForm&) { return true; });
        if (DocumentSubWindow* win = form->subWindow()) win->close();
    }
    void selectRoot(StructureDocument& doc) override {
        if (TfrmChildForm* form = formOf(doc)) form->setCurrentItem(&doc.root());
    }
    void refreshCommandState() override { main_.RefreshCommandState(); }
    void setTransferButtonsEnabled(bool enabled) override {
        for (const char* name : {"tbnDownLoad", "tbnSend"})
            if (QAction* a = main_.action(name)) a->setEnabled(enabled);
    }
    std::string transferFolder() override { return pelvoro::transferFolder(); }

  private:
    void allowClose() { delete refusal_.data(); }
    TfrmChildForm* formOf(const StructureDocument& doc) {
        if (form_ && &form_->document() == &doc) return form_;
        for (DocumentSubWindow* w : main_.documentWindows())
            if (TfrmChildForm* f = childFormOf(w->view()); f && &f->document() == &doc) return f;
        return nullptr;
    }
    TfrmMainForm& main_;
    QPointer<TfrmChildForm> form_;
    QPointer<CloseRefusal> refusal_;
};

}  // namespace

void installDownloadCommands(TfrmMainForm& w) {
    if (w.hasCommandHandler("DownLoadNewINSTR")) return;
    TfrmMainForm* window = &w;
    w.setCommandHandler("DownLoadNewINSTR", [window](int) {
        static bool running = false;
        InstrumentContext* ctx = instrumentContext(*window);
        if (!ctx || running || transferRunning(*window)) return;
        running = true;
        // No second transfer meanwhile; the download and send buttons stay disabled.
        InstrumentTransfer transfer(*window);
        MainWindowDownloadHost host(*window);
        try {
            DownLoadNewINSTR(*ctx, host);
        } catch (...) {
            ctx->link.closePort();
        }
        running = false;
        window->RefreshCommandState();
    });
    w.RefreshCommandState();
}

}  // namespace pelvoro
