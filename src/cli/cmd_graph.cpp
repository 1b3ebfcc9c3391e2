// graph DOC --item N -o OUT.png|OUT.jpg|OUT.pdf: the measurement graph of an item, drawn offscreen
// as the Draw Graph window shows it.

#ifdef PELVORO_CLI_WIDGETS

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>

#include "cli/cli.h"
#include "cli/command_documents.h"
#include "document/structure_document.h"
#include "reports/widgets/measurement_graph_window.h"

namespace pelvoro::cli {
namespace {

QCoreApplication* makeGuiApplication(int& argc, char** argv) {
    // Without a display the picture is drawn offscreen.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
}

int runGraph(Context& ctx) {
    const std::string number = ctx.takeOption("--item");
    const std::string out = ctx.takeOption("-o");
    const bool autoRange = ctx.takeFlag("--auto-range");
    if (ctx.args.size() != 1 || number.empty() || out.empty()) return ctx.usage();
    if (!TfrmGraph::imageFormatKnown(out)) {
        ctx.err << "graph: " << out << ": the file name must end in .png, .jpg, .jpeg or .pdf\n";
        return 2;
    }
    StructureDocument doc;
    if (!readDocumentForCommand(ctx, "graph", ctx.args[0], doc)) return 1;
    StructureItem* item = itemForCommand(ctx, "graph", doc, number);
    if (!item) return 1;
    if (!item->data.graph().hasSamples()) {
        ctx.err << "graph: item " << number << " holds no measurement series\n";
        return 1;
    }
    TfrmGraph window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.resize(900, 600);
    window.show();
    window.fill(item->data.graph(), autoRange);
    window.setItemInfo(graphItemInfo(*item));
    QCoreApplication::processEvents();
    const std::string failure = window.saveImage(out);
    if (!failure.empty()) {
        ctx.err << "graph: " << out << ": " << failure << "\n";
        return 1;
    }
    return 0;
}

GuiApplicationRegistration graphApp("graph", makeGuiApplication);
Registration graphReg({"graph", "graph DOC --item N -o OUT.png|OUT.jpg|OUT.pdf [--auto-range]",
                       "draws the measurement graph of the N-th item in tree order (the root "
                       "is 0) into a PNG, JPEG or PDF file (by the extension), as Draw Graph shows "
                       "it, under a title block naming the item, start, limit and verdict",
                       runGraph});

}  // namespace
}  // namespace pelvoro::cli

#endif
