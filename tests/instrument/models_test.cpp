#include "instrument/models.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pelvoro {
namespace {

// A new row must agree with itself: its download, send style and flags belong to its
// protocol family, and its keys and identification texts are its own.
TEST(InstrumentModels, EveryRowAgreesWithItsProtocolFamily) {
    std::set<std::string> keys, texts;
    for (const InstrumentModel& m : instrumentModels()) {
        SCOPED_TRACE(m.key);
        EXPECT_TRUE(keys.insert(m.key).second);
        EXPECT_EQ(modelByKey(m.key), &m);
        EXPECT_EQ(modelBySettingsValue(m.settingsValue), &m);
        for (const IdentificationText& t : m.identificationTexts)
            EXPECT_TRUE(texts.insert(t.text).second) << t.text;
        switch (m.protocol) {
            case ProtocolFamily::A:
                EXPECT_TRUE(m.download == DownloadStyle::StructureAndResults ||
                            m.download == DownloadStyle::ResultsOnly);
                EXPECT_NE(m.modelFamily, 1);
                EXPECT_FALSE(m.has(kInstallationTester));
                EXPECT_FALSE(m.identificationTexts.empty());
                // Only the "MR1" results download has position groups and named entries.
                if (m.has(kPositionGroups) || m.has(kNamedStructure)) {
                    EXPECT_EQ(m.download, DownloadStyle::ResultsOnly);
                }
                // The ";" style sends what the ";" testers read.
                if (m.send != SendStyle::None) {
                    EXPECT_EQ(m.modelFamily, m.send == SendStyle::Semicolon ? 3 : 2);
                }
                break;
            case ProtocolFamily::B:
                EXPECT_EQ(m.download, DownloadStyle::Records);
                EXPECT_EQ(m.send, SendStyle::None);
                EXPECT_EQ(m.modelFamily, 1);
                EXPECT_FALSE(m.identificationTexts.empty());
                break;
            case ProtocolFamily::C:
                EXPECT_EQ(m.download, DownloadStyle::MachineRecords);
                EXPECT_EQ(m.send, SendStyle::None);
                break;
            case ProtocolFamily::None:
                EXPECT_STREQ(m.key, kAutoFindKey);
                EXPECT_EQ(m.download, DownloadStyle::None);
                break;
        }
        EXPECT_FALSE(m.has(kPositionGroups) && m.has(kNamedStructure));
        if (!m.preselectingBrands.empty()) {
            EXPECT_EQ(m.protocol, ProtocolFamily::B);
        }
    }
    EXPECT_STREQ(instrumentModels().back().key, kAutoFindKey);
    ASSERT_NE(modelByKey(kForcedModelKey), nullptr);
    EXPECT_FALSE(modelHas(kForcedModelKey, kHiddenByBrand));
    EXPECT_FALSE(modelHas("no such model", kInstallationTester));
}

}  // namespace
}  // namespace pelvoro
