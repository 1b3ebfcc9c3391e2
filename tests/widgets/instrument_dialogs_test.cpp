// The port dialog and the Instrument data dialog over the scripted port.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "instrument/widgets/instr_data_dialog.h"
#include "instrument/widgets/port_dialog.h"
#include "protocols/instrument_fixture.h"

namespace pelvoro {
namespace {

using instrdata_testing::familyAReply;
using instrdata_testing::LinkBench;

// With PELVORO_SCREENSHOT_DIR set, pictures of the dialogs are kept for a look.
void keepPicture(QWidget& w, const char* name) {
    QByteArray dir = qgetenv("PELVORO_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    w.adjustSize();
    w.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

TEST(PortDialog, StoredChoiceIsSelectedAndAppliedAtCreation) {
    LinkBench b;
    MemorySettingsStore settings;
    settings.writeInt("COMPort", 2);
    settings.writeInt("BaudRate", 3);
    TfrmCOM_Port dialog(b.ctx, settings, {});
    EXPECT_TRUE(dialog.portButton(2)->isChecked());
    EXPECT_TRUE(dialog.baudButton(3)->isChecked());
    EXPECT_EQ(b.port.portNumber(), 3);
    EXPECT_EQ(b.port.baudRate(), 2400);
    EXPECT_EQ(dialog.baudButton(4)->text(), "4800");
}

TEST(PortDialog, ShowsTheDeviceBesideEachPort) {
    LinkBench b;
    struct WithDevices : testing::ScriptedPort {
        using ScriptedPort::ScriptedPort;
        std::string deviceName(int n) const override { return n == 1 ? "/dev/ttyUSB0" : ""; }
    } port(b.clock);
    Link link(port, b.clock, b.progress, b.prompts);
    InstrumentContext ctx(link, b.models, "Tamvisto");
    MemorySettingsStore settings;
    TfrmCOM_Port dialog(ctx, settings, {});
    EXPECT_EQ(dialog.portButton(0)->text(), "COM1   /dev/ttyUSB0");
    EXPECT_EQ(dialog.portButton(1)->text(), "COM2");
    keepPicture(dialog, "port_dialog");
}

TEST(PortDialog, OkAppliesAndStoresTheChoice) {
    LinkBench b;
    MemorySettingsStore settings;
    int refreshed = 0;
    TfrmCOM_Port dialog(b.ctx, settings, [&] { ++refreshed; });
    dialog.portButton(4)->setChecked(true);
    dialog.baudButton(1)->setChecked(true);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(settings.readInt("COMPort"), 4);
    EXPECT_EQ(settings.readInt("BaudRate"), 1);
    EXPECT_EQ(b.port.portNumber(), 5);
    EXPECT_EQ(b.port.baudRate(), 600);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(PortDialog, AutoFindSelectsWhatItFoundAndShowsTheModel) {
    LinkBench b;
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("TQ 41"));
    MemorySettingsStore settings;
    settings.writeInt("BaudRate", 4);
    TfrmCOM_Port dialog(b.ctx, settings, {});
    QTest::mouseClick(dialog.autoFindButton(), Qt::LeftButton);
    EXPECT_EQ(b.models.checkedModelKey(), "TQ41");
    EXPECT_EQ(dialog.modelLabel()->text(), "TQ 41");
    EXPECT_TRUE(dialog.portButton(0)->isChecked());
    EXPECT_TRUE(dialog.baudButton(4)->isChecked());
    EXPECT_EQ(b.prompts.texts(),
              std::vector<std::string>{"COM Port:  COM1\n\r\n\rBaud Rate:  4800\n\r"});
    // The dialog is usable again.
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    EXPECT_TRUE(dialog.autoFindButton()->isEnabled());
    EXPECT_TRUE(dialog.cancelAutoFindButton()->isHidden());
    EXPECT_FALSE(dialog.searching());
    // Nothing is stored before OK.
    EXPECT_FALSE(settings.contains("COMPort"));
}

TEST(InstrumentDataDialog, ReceiveFillsTheFields) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("TQ 41"));
    TfrmInstrData dialog(b.ctx, {}, false);
    dialog.prepareToShow();
    EXPECT_TRUE(dialog.sendButton()->isEnabled());
    QTest::mouseClick(dialog.receiveButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.serialNumberField()->text(), "12345678");
    EXPECT_EQ(dialog.firmDataBox()->toPlainText(), "Firm\nLine two");
    EXPECT_EQ(dialog.userDataBox()->toPlainText(), "User");
    EXPECT_TRUE(dialog.instrumentBox()->toPlainText().startsWith(
        "Name:      Installation tester\nModel:     TQ 41\n"));
    EXPECT_TRUE(dialog.receiveButton()->isEnabled());
    EXPECT_TRUE(dialog.cancelButton()->isEnabled());
    EXPECT_TRUE(dialog.sendButton()->isEnabled());
    EXPECT_TRUE(dialog.serialNumberField()->isReadOnly());
    EXPECT_TRUE(dialog.incrementButton()->isHidden());
    EXPECT_TRUE(dialog.calibrationDateField()->isHidden());
    EXPECT_EQ(TfrmInstrData::boxText(dialog.firmDataBox()), "Firm\r\nLine two");
    keepPicture(dialog, "instrument_data_dialog");
}

TEST(InstrumentDataDialog, BrandHidesSendAndUserData) {
    LinkBench b("CV61", 1);
    TfrmInstrData dialog(b.ctx, {});
    EXPECT_TRUE(dialog.sendButton()->isHidden());
    EXPECT_TRUE(dialog.userDataBox()->isHidden());
}

TEST(InstrumentDataDialog, SendStateFollowsTheModelWhenShown) {
    LinkBench b("TQ42", 1);
    TfrmInstrData dialog(b.ctx, {}, false);
    dialog.prepareToShow();
    EXPECT_FALSE(dialog.sendButton()->isEnabled());
    LinkBench c("CV61", 1);
    TfrmInstrData kept(c.ctx, {}, false);
    kept.prepareToShow();
    EXPECT_TRUE(kept.sendButton()->isEnabled());  // left as it was
}

TEST(InstrumentDataDialog, FactoryModeSerialNumberEditingAndIncrement) {
    LinkBench b("TQ41", 2);
    TfrmInstrData dialog(b.ctx, {true, false}, false);
    EXPECT_FALSE(dialog.serialNumberField()->isReadOnly());
    EXPECT_FALSE(dialog.firmDataBox()->isReadOnly());
    EXPECT_FALSE(dialog.incrementButton()->isHidden());
    QLineEdit* field = dialog.serialNumberField();
    TInstrumentData d;
    d.line(7) = "00000099";
    dialog.showData(d);
    field->setCursorPosition(8);
    QTest::keyClicks(field, "x");  // not a digit: the field snaps back
    EXPECT_EQ(field->text(), "00000099");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "0000009");
    QTest::keyClicks(field, "8");
    EXPECT_EQ(field->text(), "00000098");
    QTest::mouseClick(dialog.incrementButton(), Qt::LeftButton);
    EXPECT_EQ(field->text(), "00000099");
    QTest::mouseClick(dialog.incrementButton(), Qt::LeftButton);
    EXPECT_EQ(field->text(), "00000100");
}

TEST(InstrumentDataDialog, BoxesHoldAtMostThirtySevenCharacters) {
    LinkBench b("TQ41", 2);
    TfrmInstrData dialog(b.ctx, {}, false);
    dialog.userDataBox()->setPlainText(QString(50, 'a'));
    EXPECT_EQ(dialog.userDataBox()->toPlainText().size(), 37);
    // The limits are for typing: what a tester sent shows whole.
    TInstrumentData d;
    d.line(7) = "1234567890";
    d.line(8) = std::string(45, 'f');
    d.line(9) = std::string(40, 'u');
    dialog.showData(d);
    EXPECT_EQ(dialog.serialNumberField()->text(), "1234567890");
    EXPECT_EQ(dialog.firmDataBox()->toPlainText(), QString(45, 'f'));
    EXPECT_EQ(dialog.userDataBox()->toPlainText(), QString(40, 'u'));
    dialog.clearData();
    dialog.userDataBox()->setPlainText(QString(50, 'a'));
    EXPECT_EQ(dialog.userDataBox()->toPlainText().size(), 37);
}

TEST(InstrumentDataDialog, SendAsksFirstAndWarnsAboutADocumentsData) {
    LinkBench b("TQ41", 2);
    b.port.on("MRD\r", "SER\r");
    b.port.on("MWH\r", familyAReply("TQ 41"));
    TfrmInstrData dialog(b.ctx, {}, false);
    dialog.prepareToShow();
    TInstrumentData d;
    d.line(9) = "From a document";
    dialog.showData(d);
    b.prompts.answers = {Answer::No};
    QTest::mouseClick(dialog.sendButton(), Qt::LeftButton);
    ASSERT_EQ(b.prompts.shown.size(), 1u);
    EXPECT_EQ(b.prompts.shown[0].kind, "yesno");
    EXPECT_NE(b.prompts.shown[0].text.find("From a document"), std::string::npos);
    EXPECT_NE(b.prompts.shown[0].text.find("Not received"), std::string::npos);
    EXPECT_TRUE(b.port.writes.empty()) << "No writes nothing";
    // After Receive the fields hold this tester's data: no warning.
    QTest::mouseClick(dialog.receiveButton(), Qt::LeftButton);
    b.prompts.shown.clear();
    b.prompts.answers = {Answer::No};
    QTest::mouseClick(dialog.sendButton(), Qt::LeftButton);
    ASSERT_EQ(b.prompts.shown.size(), 1u);
    EXPECT_EQ(b.prompts.shown[0].text.find("Not received"), std::string::npos);
}

TEST(InstrumentDataDialog, IdentificationDisablesSend) {
    LinkBench b("TQ41", 2);
    TfrmInstrData dialog(b.ctx, {}, false);
    dialog.prepareToShow();
    dialog.modelIdentified();
    EXPECT_FALSE(dialog.sendButton()->isEnabled());
}

}  // namespace
}  // namespace pelvoro
