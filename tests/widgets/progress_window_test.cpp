#include "instrument/widgets/progress_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/link_clock.h"
#include "common/widgets/qt_prompts.h"
#include "instrument/link.h"
#include "protocols/family_a/family_a_link_rules.h"
#include "protocols/family_c/family_c_link_rules.h"
#include "support/language_fixture.h"
#include "support/scripted_port.h"
#include "support/test_doubles.h"

namespace pelvoro {
namespace {

TEST(ProgressWindow, ShowsCaptionStepAndGaugesOnTop) {
    testing::ScopedLanguage language("[Language]\r\nbtnCancel_8=Abbruch\r\n");
    TfrmProgress window;
    window.show("Transfering  data");
    window.setStep("Reading");
    window.setGauge(40, 100);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(window.windowTitle(), "Transfering  data");
    EXPECT_EQ(window.stepLabel()->text(), "Reading");
    EXPECT_EQ(window.cancelButton()->text(), "Abbruch");
    EXPECT_EQ(window.gauge()->value(), 40);
    EXPECT_FALSE(window.secondGauge()->isVisible());  // only counted text blocks show it
    window.setSecondGaugeVisible(true);
    window.setSecondGauge(250, 100);
    EXPECT_EQ(window.secondGauge()->value(), 100);
}

TEST(ProgressWindow, EscAndTheButtonCancelUntilShownAgain) {
    TfrmProgress window;
    window.show("T");
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.cancelPressed());
    EXPECT_FALSE(window.isVisible());

    window.show("T");
    EXPECT_FALSE(window.cancelPressed());
    QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(window.cancelPressed());
    EXPECT_FALSE(window.isVisible());
}

TEST(ProgressWindow, WithoutCancelEscDoesNothing) {
    TfrmProgress window;
    window.show("T");
    window.setCancelVisible(false);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.cancelPressed());
    EXPECT_TRUE(window.isVisible());
}

// Cancel pressed while the link waits for a silent tester ends the wait at once and
// quietly.
TEST(ProgressWindow, CancelStopsALinkWaitWithoutAMessage) {
    testing::VirtualClock clock;
    testing::ScriptedPort port(clock);
    testing::ScriptedPrompts prompts;
    TfrmProgress window;
    Link link(port, clock, window, prompts);
    clock.onEvents = [&] {
        if (clock.now > 1.0 && window.isVisible()) window.pressCancel();
    };
    EXPECT_FALSE(link.connectInstrument(kFamilyALinkRules));
    EXPECT_LT(clock.now, 2.5);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(window.isVisible());
}

// A modal dialog (Instrument data) started the exchange: Cancel and Esc still reach the
// progress window, during the handshake's pauses, and end the exchange quietly.
TEST(ProgressWindow, CancelWorksAboveAModalDialog) {
    for (bool esc : {false, true}) {
        SCOPED_TRACE(esc ? "Esc" : "Cancel button");
        QWidget main;
        main.show();
        QDialog modal(&main);
        modal.setModal(true);
        modal.show();
        ASSERT_EQ(QApplication::activeModalWidget(), &modal);
        testing::VirtualClock clock;
        testing::ScriptedPort port(clock);
        testing::ScriptedPrompts prompts;
        TfrmProgress window(&main);
        Link link(port, clock, window, prompts);
        double pressedAt = -1;
        clock.onEvents = [&] {
            if (pressedAt >= 0 || clock.now < 1.0 || !window.isVisible()) return;
            pressedAt = clock.now;
            if (esc)
                QTest::keyClick(&window, Qt::Key_Escape);
            else
                QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
        };
        EXPECT_FALSE(link.connectInstrument(kFamilyCLinkRules));
        EXPECT_TRUE(window.cancelPressed());
        ASSERT_GE(pressedAt, 0);
        EXPECT_LT(clock.now - pressedAt, 1.0) << "the exchange ends at once";
        EXPECT_TRUE(prompts.shown.empty());
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(window.parentWidget(), &main) << "back with its owner";
        modal.hide();
    }
}

TEST(ProgressWindow, MessagesDuringATransferOpenAboveIt) {
    // A failure said while the progress window is up must not open behind it: the user
    // could neither read it nor reach the Cancel that waits for it.
    QWidget main;
    main.show();
    TfrmProgress window(&main);
    window.show("Transferring data");
    QtPrompts prompts(&main);
    QWidget* boxParent = nullptr;
    bool boxOnTop = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        boxParent = box->parentWidget();
        boxOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->accept();
    });
    prompts.error("Communication failure.");
    EXPECT_EQ(boxParent, &window);
    EXPECT_TRUE(boxOnTop);
}

TEST(QtPromptsTest, EnterGivesUpNothingWhereYesWould) {
    // Enter answers the save question with Yes (the document is kept); where Yes would
    // delete the instrument's structure, Enter answers No.
    QtPrompts prompts;
    const struct {
        bool noFirst;
        Answer enter;
    } cases[] = {{false, Answer::Yes}, {true, Answer::No}};
    for (const auto& c : cases) {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        const Answer a = c.noFirst ? prompts.askYesNoCancelNoFirst("t", "Delete it first?")
                                   : prompts.askYesNoCancel("t", "Save?");
        EXPECT_EQ(a, c.enter);
    }
}

}  // namespace
}  // namespace pelvoro
