#include "reports/widgets/report_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

#include "app/widgets/main_window.h"
#include "common/adapters/qt_text.h"
#include "common/adapters/user_folders.h"
#include "common/lang_text.h"
#include "common/prompts.h"
#include "common/settings_store.h"
#include "document/structure_document.h"
#include "document/widgets/child_form.h"
#include "reports/adapters/report_painting.h"
#include "reports/light_report.h"
#include "reports/report_header.h"
#include "reports/widgets/header_dialog.h"
#include "results/result_rows.h"

namespace pelvoro {

namespace {

const char* const kHostName = "reportCommands";

// The preview's printer: its own paper, portrait, 10 mm margins, the report resolution.
// Owned by the preview that it is given to.
QPrinter* makeReportPrinter() {
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setResolution(kReportResolution);
    setReportPageLayout(*printer);
    return printer;
}

QString qtText(const char* context, const char* text) {
    return QCoreApplication::translate(context, text);
}

// The PDF that printing from a preview of `doc` suggests: beside the document under its
// name, or in the user's documents folder for a document without a file.
QString suggestedPdf(const StructureDocument& doc) {
    const QFileInfo file(pathToQt(doc.FilePath));
    const QString folder = doc.HasFile ? file.absolutePath() : pathToQt(userDocumentsFolder());
    return QDir(folder).filePath(file.completeBaseName() + ".pdf");
}

class ReportHost : public QObject {
  public:
    explicit ReportHost(TfrmMainForm& window) : QObject(&window), main(window) {
        setObjectName(kHostName);
        header = new TfrmHeader(window.settings(), window.prompts(), &window);
        dialogs = std::make_unique<ReportDialogs>();
    }

    void headerSetup() {
        DocumentView* view = main.activeDocumentView();
        header->run(view ? &view->document() : nullptr);
        main.RefreshCommandState();
    }

    void lightReport() {
        TfrmChildForm* form = childFormOf(main.activeDocumentView());
        if (!form) return;
        StructureDocument& doc = form->document();
        const int viewMode = form->viewMode();
        StructureItem* selected = form->selectedItem();
        const ResultRows rows =
            AssignResultRows(doc, selected ? selected : &doc.root(), viewMode, form->showSub());
        LightReportTexts texts =
            lightReportTexts(doc, fromQt(reportDateText(header->reportDate())));
        texts.overview = main.settings().readBool(kOverviewSetting).value_or(true);
        {
            // The checks of the header texts: the report is shown all the same, with the
            // long texts wrapped.
            const ReportTextRules& rules = headerRules();
            const std::string message =
                headerCheckMessage(!rules.footerFits(texts.footer),
                                   rules.firstCommentTooLong(texts.comments), texts.comments);
            if (!message.empty()) main.prompts().warning(message);
        }
        ReportPreview preview(*dialogs, &main);
        preview.setWindowTitle(toQt(LangText("mmFilePreview_15")).remove('&'));
        preview.setSuggestedPdf(suggestedPdf(doc));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&](QPrinter* printer) {
                             BusyCursor busy(main.prompts());
                             printLightReport(*printer, texts, &rows, viewMode);
                         });
        dialogs->showPreview(preview);
    }

    void structurePrint() {
        DocumentView* view = main.activeDocumentView();
        if (!view) return;
        StructureDocument& doc = view->document();
        StructurePrintTitle title;
        if (TfrmChildForm* form = childFormOf(view))
            title.document =
                fromQt(QFileInfo(form->windowTitle().remove(QStringLiteral("[*]"))).fileName());
        title.date = fromQt(reportDateText(header->reportDate()));
        title.pageOf = LangText("qrlPageOf_20");
        ReportPreview preview(*dialogs, &main);
        preview.setWindowTitle(toQt(LangText("mmFilePrintStructure_15")));
        preview.setSuggestedPdf(suggestedPdf(doc));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&](QPrinter* printer) {
                             BusyCursor busy(main.prompts());
                             printStructure(*printer, doc, title);
                         });
        dialogs->showPreview(preview);
    }

    const ReportTextRules& headerRules() {
        if (!rules) rules = std::make_unique<ReportTextRules>(lightReportTextRules());
        return *rules;
    }

    TfrmMainForm& main;
    TfrmHeader* header = nullptr;
    std::unique_ptr<ReportDialogs> dialogs;
    std::unique_ptr<ReportTextRules> rules;
};

ReportHost* host(TfrmMainForm& window) {
    return window.findChild<ReportHost*>(kHostName, Qt::FindDirectChildrenOnly);
}

}  // namespace

void ReportDialogs::showPreview(QPrintPreviewDialog& preview) {
    preview.exec();
}

bool ReportDialogs::choosePrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // Qt's own dialog would suggest "print.pdf" in the home folder; the document's folder
    // and name are what the user looks for afterwards.
    if (auto* preview = qobject_cast<ReportPreview*>(parent);
        preview && !preview->suggestedPdf().isEmpty()) {
        printer.setDocName(QFileInfo(preview->suggestedPdf()).completeBaseName());
        if (auto* file = dialog.findChild<QLineEdit*>("filename"))
            file->setText(QDir::toNativeSeparators(preview->suggestedPdf()));
    }
    return dialog.exec() == QDialog::Accepted;
}

ReportPreview::ReportPreview(ReportDialogs& dialogs, QWidget* parent)
    : QPrintPreviewDialog(makeReportPrinter(), parent), dialogs_(dialogs) {
    printer_.reset(printer());  // a printer given to the preview stays its giver's
    for (QToolBar* bar : findChildren<QToolBar*>()) {
        const QList<QAction*> actions = bar->actions();
        for (QAction* a : actions) {
            const QString t = a->text();
            if (t == qtText("QPrintPreviewDialog", "Portrait") ||
                t == qtText("QPrintPreviewDialog", "Landscape"))
                a->setVisible(false);
            if (t == qtText("QPrintPreviewDialog", "Print")) printAction_ = a;
        }
    }
    if (printAction_) {
        QObject::disconnect(printAction_, &QAction::triggered, nullptr, nullptr);
        connect(printAction_, &QAction::triggered, this, [this] { printFromPreview(); });
    }
    // Large enough to read a page: most of the screen, the page at the window's width.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(int(area.width() * 0.8), int(area.height() * 0.92));
        move(area.center() - rect().center());
    }
    for (QToolBar* bar : findChildren<QToolBar*>())
        for (QAction* a : bar->actions())
            if (a->text() == qtText("QPrintPreviewDialog", "Fit width")) a->trigger();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::printFromPreview() {
    QPrinter& target = *printer();
    if (!dialogs_.choosePrinter(target, this)) return;
    setReportPageLayout(target);  // the paper chosen, portrait, with the report's margins
    if (auto* widget = findChild<QPrintPreviewWidget*>()) widget->print();
    accept();
}

void installReportCommands(TfrmMainForm& mainWindow) {
    if (host(mainWindow)) return;
    QPointer<ReportHost> h = new ReportHost(mainWindow);
    mainWindow.setCommandHandler("HeadSetUp", [h](int) {
        if (h) h->headerSetup();
    });
    mainWindow.setCommandHandler("LightReportPreview", [h](int) {
        if (h) h->lightReport();
    });
    mainWindow.setCommandHandler("PrintStrucrure", [h](int) {
        if (h) h->structurePrint();
    });
}

TfrmHeader* headerDialog(TfrmMainForm& mainWindow) {
    ReportHost* h = host(mainWindow);
    return h ? h->header : nullptr;
}

void setReportDialogs(TfrmMainForm& mainWindow, std::unique_ptr<ReportDialogs> dialogs) {
    if (ReportHost* h = host(mainWindow))
        h->dialogs = dialogs ? std::move(dialogs) : std::make_unique<ReportDialogs>();
}

}  // namespace pelvoro
