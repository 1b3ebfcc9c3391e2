// The instrument commands attached to a started main window.

#include "instrument/widgets/instrument_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/widgets/main_window.h"
#include "common/lang_text.h"
#include "instrument/widgets/instr_data_dialog.h"
#include "instrument/widgets/port_dialog.h"
#include "protocols/identification.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

class InstrumentCommandsTest : public ::testing::Test {
  protected:
    std::unique_ptr<TfrmMainForm> started() {
        TfrmMainForm::Services s;
        s.settings = &store;
        s.prompts = &prompts;
        s.printerCount = [] { return 1; };
        auto w = std::make_unique<TfrmMainForm>(s);
        EXPECT_TRUE(w->start(PELVORO_SOURCE_DATA_DIR));
        return w;
    }
    void TearDown() override { setCurrentLanguageFile(nullptr); }

    MemorySettingsStore store;
    testing::ScriptedPrompts prompts;
};

TEST_F(InstrumentCommandsTest, AttachesBothCommandsAndAppliesTheStoredPort) {
    store.writeInt("COMPort", 6);
    store.writeInt("BaudRate", 2);
    auto w = started();
    EXPECT_EQ(instrumentContext(*w), nullptr);
    installInstrumentCommands(*w, {});
    ASSERT_NE(instrumentContext(*w), nullptr);
    EXPECT_TRUE(w->hasCommandHandler("PortSettings"));
    EXPECT_TRUE(w->hasCommandHandler("InstrumentData"));
    Link& link = instrumentContext(*w)->link;
    EXPECT_EQ(link.portNumber(), 7);
    EXPECT_EQ(link.baudRate(), 1200);
    EXPECT_FALSE(link.isPortOpen());
    EXPECT_TRUE(portDialog(*w)->portButton(6)->isChecked());
    // The brand forces CV61; the context sees the main window's model.
    EXPECT_EQ(instrumentContext(*w)->models.checkedModelKey(), "CV61");
    // A second installation changes nothing.
    InstrumentContext* first = instrumentContext(*w);
    installInstrumentCommands(*w, {});
    EXPECT_EQ(instrumentContext(*w), first);
}

TEST_F(InstrumentCommandsTest, IdentificationChecksTheMenuEntryAndDisablesSend) {
    auto w = started();
    installInstrumentCommands(*w, {});
    TfrmInstrData* dialog = instrumentDataDialog(*w);
    dialog->sendButton()->setEnabled(true);
    instrumentContext(*w)->models.checkIdentifiedModel("TQ75", 3);
    EXPECT_EQ(w->mainState().checkedModel, "TQ75");
    EXPECT_EQ(w->mainState().modelFamily, 3);
    ASSERT_NE(w->action("TQ75"), nullptr);
    EXPECT_TRUE(w->action("TQ75")->isChecked());
    EXPECT_FALSE(dialog->sendButton()->isEnabled());
}

TEST_F(InstrumentCommandsTest, ServiceSwitchesComeFromTheArguments) {
    auto w = started();
    installInstrumentCommands(*w, {"brenkolivsaja", "mirtavek"});
    TfrmInstrData* dialog = instrumentDataDialog(*w);
    EXPECT_TRUE(dialog->switches().factory);
    EXPECT_TRUE(dialog->switches().calibration);
    EXPECT_FALSE(dialog->serialNumberField()->isReadOnly());
}

TEST_F(InstrumentCommandsTest, DocumentDataAreShownAndCleared) {
    auto w = started();
    installInstrumentCommands(*w, {});
    TInstrumentData d;
    d.line(2) = "CV 61";
    d.line(7) = "61000042";
    showDocumentInstrumentData(*w, d);
    TfrmInstrData* dialog = instrumentDataDialog(*w);
    EXPECT_EQ(dialog->serialNumberField()->text(), "61000042");
    EXPECT_TRUE(dialog->instrumentBox()->toPlainText().startsWith("Name:      CV 61\n"));
    clearInstrumentDataWindow(*w);
    EXPECT_EQ(dialog->serialNumberField()->text(), "");
    EXPECT_EQ(dialog->instrumentBox()->toPlainText().toStdString(), instrumentBoxTemplate());
}

}  // namespace
}  // namespace pelvoro
