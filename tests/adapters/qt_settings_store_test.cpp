#include "app/adapters/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QFile>

#include "support/language_fixture.h"

namespace pelvoro {
namespace {

TEST(QtSettingsStore, TypesAndBytesSurviveANewInstance) {
    testing::TempDir dir;
    QString path = QString::fromStdString(dir.file("Tamvisto.conf"));
    {
        QtSettingsStore store(path);
        EXPECT_FALSE(store.keyExists());
        store.writeString("Language", "DEUTSCH");
        store.writeInt("LangIndex", 1);
        store.writeInt("Negative", -5);
        store.writeBool("mmReport", false);
        store.writeString("Footer",
                          "Line one\nM\xFC"
                          "ller\\ = 100%");  // code-page bytes
        store.writeString("File_1",
                          "/home/u/Pr\xC3\xBC"
                          "fung.TMV");  // a UTF-8 path
        store.writeString("Empty", "");
        store.flush();
    }
    QtSettingsStore store(path);
    EXPECT_TRUE(store.keyExists());
    EXPECT_EQ(store.readString("Language"), "DEUTSCH");
    EXPECT_EQ(store.readInt("LangIndex"), 1);
    EXPECT_EQ(store.readInt("Negative"), -5);
    EXPECT_EQ(store.readBool("mmReport"), false);
    EXPECT_EQ(store.readString("Footer"),
              "Line one\nM\xFC"
              "ller\\ = 100%");
    EXPECT_EQ(store.readString("File_1"),
              "/home/u/Pr\xC3\xBC"
              "fung.TMV");
    EXPECT_EQ(store.readString("Empty"), "");
    // The type is kept: an integer is not a string.
    EXPECT_FALSE(store.readString("LangIndex"));
    EXPECT_FALSE(store.readInt("Language"));
    EXPECT_FALSE(store.contains("Missing"));
}

TEST(QtSettingsStore, TheFileShowsEachValueWithItsType) {
    testing::TempDir dir;
    QString path = QString::fromStdString(dir.file("Tamvisto.conf"));
    {
        QtSettingsStore store(path);
        store.writeString("Language", "ENGLISH");
        store.writeInt("LangIndex", 0);
        store.writeBool("mmStandard", true);
        store.flush();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("Language=s:ENGLISH\n"));
    EXPECT_TRUE(text.contains("LangIndex=i:0\n"));
    EXPECT_TRUE(text.contains("mmStandard=b:true\n"));
}

TEST(QtSettingsStore, TheUserStoreLivesUnderTheBrandKey) {
    // The tests point XDG_CONFIG_HOME at the build folder.
    QtSettingsStore store;
    EXPECT_TRUE(store.location().endsWith("Software/Tamvisto.conf"))
        << store.location().toStdString();
}

}  // namespace
}  // namespace pelvoro
