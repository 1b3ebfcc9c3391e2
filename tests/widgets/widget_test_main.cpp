// Widget tests run GoogleTest inside a QApplication on the offscreen platform, with the
// data files of the source tree as the program's data folder. The transfer files of the
// windows go to a temporary folder of this run: nothing is written beside the data files.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "common/identity.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir transfer;
    if (!transfer.isValid()) return 1;
    pelvoro::appEnvironment().resultsFolder = transfer.filePath("Results").toStdString();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
