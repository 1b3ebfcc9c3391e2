#include "instrument/widgets/instrument_commands.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <memory>

#include "common/identity.h"
#include "app/main_settings.h"
#include "app/widgets/main_window.h"
#include "common/adapters/qt_link_clock.h"
#include "common/adapters/qt_text.h"
#include "instrument/adapters/qt_serial_port.h"
#include "instrument/widgets/instr_data_dialog.h"
#include "instrument/widgets/port_dialog.h"
#include "instrument/widgets/progress_window.h"
#include "protocols/identification.h"

namespace pelvoro {

namespace {

constexpr const char* kHostName = "instrumentHost";

// The model menu of the main window as the instrument commands see it.
class MainWindowModels : public ModelSelection {
  public:
    explicit MainWindowModels(TfrmMainForm& window) : window_(window) {}
    std::string checkedModelKey() const override { return window_.mainState().checkedModel; }
    int modelFamily() const override { return window_.mainState().modelFamily; }
    void checkIdentifiedModel(const std::string& key, int modelFamily) override {
        MainWindowState& state = window_.mainState();
        selectModel(state, key);
        state.modelFamily = modelFamily;
        if (QAction* a = window_.action(QString::fromStdString(key))) a->setChecked(true);
        window_.RefreshCommandState();
        if (onIdentified) onIdentified();
    }
    std::function<void()> onIdentified;

  private:
    TfrmMainForm& window_;
};

// Owns everything the instrument commands share; a child of the main window.
class InstrumentHost : public QObject {
  public:
    InstrumentHost(TfrmMainForm& window, const std::vector<std::string>& arguments)
        : QObject(&window), models(window) {
        setObjectName(kHostName);
        port = makeSystemSerialPort(&window.settings());
        progress = new TfrmProgress(&window);
        link = std::make_unique<Link>(*port, clock, *progress, window.prompts());
        context = std::make_unique<InstrumentContext>(*link, models, identity::kBrandTitle);
        ports = new TfrmCOM_Port(
            *context, window.settings(), [&window] { window.RefreshCommandState(); }, &window);
        data = new TfrmInstrData(*context, serviceSwitchesFromArguments(arguments), true, &window);
        models.onIdentified = [this] { data->modelIdentified(); };
    }
    ~InstrumentHost() override {
        if (link) link->closePort();
    }

    MainWindowModels models;
    QtLinkClock clock;
    std::unique_ptr<SerialPort> port;
    TfrmProgress* progress = nullptr;
    std::unique_ptr<Link> link;
    std::unique_ptr<InstrumentContext> context;
    TfrmCOM_Port* ports = nullptr;
    TfrmInstrData* data = nullptr;
    int transfers = 0;  // InstrumentTransfer guards alive
};

InstrumentHost* host(TfrmMainForm& window) {
    return window.findChild<InstrumentHost*>(kHostName, Qt::FindDirectChildrenOnly);
}

// The program's arguments without its own options (--data-dir DIR, --screenshot PNG ...).
std::vector<std::string> positionalArguments() {
    std::vector<std::string> out;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--data-dir" || a == "--screenshot") {
            ++i;
            continue;
        }
        if (a.startsWith('-')) continue;
        out.push_back(pathFromQt(a));
    }
    return out;
}

}  // namespace

void installInstrumentCommands(TfrmMainForm& window, const std::vector<std::string>& arguments) {
    if (host(window)) return;
    QPointer<InstrumentHost> h = new InstrumentHost(window, arguments);
    window.setPortOpenQuery([h] { return h && (h->port->isOpen() || h->transfers > 0); });
    window.setCommandHandler("PortSettings", [h](int) {
        if (h) h->ports->exec();
    });
    window.setCommandHandler("InstrumentData", [h](int) {
        if (h) h->data->showDialog();
    });
}

void installInstrumentCommands(TfrmMainForm& window) {
    installInstrumentCommands(window, positionalArguments());
}

InstrumentContext* instrumentContext(TfrmMainForm& window) {
    InstrumentHost* h = host(window);
    return h ? h->context.get() : nullptr;
}

TfrmCOM_Port* portDialog(TfrmMainForm& window) {
    InstrumentHost* h = host(window);
    return h ? h->ports : nullptr;
}

TfrmInstrData* instrumentDataDialog(TfrmMainForm& window) {
    InstrumentHost* h = host(window);
    return h ? h->data : nullptr;
}

InstrumentTransfer::InstrumentTransfer(TfrmMainForm& window) : window_(window) {
    if (InstrumentHost* h = host(window_)) ++h->transfers;
    window_.RefreshCommandState();
}

InstrumentTransfer::~InstrumentTransfer() {
    if (InstrumentHost* h = host(window_)) --h->transfers;
    window_.RefreshCommandState();
}

bool transferRunning(TfrmMainForm& window) {
    InstrumentHost* h = host(window);
    return h && (h->transfers > 0 || h->port->isOpen());
}

void showDocumentInstrumentData(TfrmMainForm& window, const TInstrumentData& data) {
    if (TfrmInstrData* d = instrumentDataDialog(window)) d->showData(data);
}

void clearInstrumentDataWindow(TfrmMainForm& window) {
    if (TfrmInstrData* d = instrumentDataDialog(window)) d->clearData();
}

}  // namespace pelvoro
