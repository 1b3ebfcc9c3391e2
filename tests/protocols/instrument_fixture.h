#pragma once
// A link over the scripted port, the virtual clock, a progress recorder and scripted
// prompts, with the messages of the link in a small English language file.

#include <string>
#include <vector>

#include "instrument/instrument_context.h"
#include "protocols/family_c/family_c_identification.h"
#include "support/scripted_link.h"

namespace pelvoro::instrdata_testing {

inline const char* kMessages =
    "[Language]\n"
    "msgNotAvailPort_35=Port not available\n"
    "msgConnectError_35=Connection error\n"
    "msgCommunFail_35=Communication failure\n"
    "msgSendError_35=Send error\n"
    "msgWriteRefused_50=Refused:\n"
    "msgNoStatus_50=No status:\n"
    "msgSendNotReceived_70=Not received\n"
    "wrClock_35=Date and time:\n"
    "labUserData_25=User data:\n"
    "labSerialNum_25=Serial number:\n"
    "rgComPort_10=COM Port\n"
    "rgBaudRate_15=Baud Rate\n"
    "AutoIdentify_50=Identifying\n"
    "DLoadData_35=Loading data\n"
    "ConnectInstr_35=Connecting\n"
    "frmTransfering_35=Transfering  data\n";

struct LinkBench : testing::ScriptedLink {
    explicit LinkBench(std::string modelKey = "AutoFind", int modelFamily = 0,
                       std::string brand = "Tamvisto")
        : ScriptedLink(kMessages),
          models(modelKey, modelFamily),
          ctx(link, models, std::move(brand)) {}

    SimpleModelSelection models;
    InstrumentContext ctx;
};

// A family A tester's "MWH" reply: item lines and the status line.
inline std::string familyAReply(const std::string& model,
                                const std::string& name = "Installation tester") {
    return "01.51\r02." + name + "\r03." + model +
           "\r04.1.2.3\r05.HW 2\r07.12345678\r08.Firm_Line two\r"
           "09.User\r10.4\r11.2024-01-31\rSER\r";
}

// A family B identification block: the type code, one spare byte, fields closed by 0x00.
inline std::string familyBBlock(unsigned char typeCode, const std::vector<std::string>& fields) {
    std::string b;
    b += char(typeCode);
    b += '\0';
    for (const auto& f : fields) b += f + '\0';
    return b;
}

// A family B tester's "MWH" reply: echo, two-byte length, the block.
inline std::string familyBReply(const std::string& block) {
    std::string r = "SWH";
    r += char(block.size() >> 8);
    r += char(block.size() & 0xFF);
    return r + block;
}

// A family B tester's "MHW" reply: echo, two-byte length, the text.
inline std::string hwReply(const std::string& text) {
    std::string r = "SHW";
    r += '\0';
    r += char(text.size());
    return r + text;
}

// A family C identification block: firm data, model, firmware and serial number.
inline std::string familyCBlock() {
    std::string block(kFamilyCIdentificationSize, '\0');
    block.replace(2, 6, "  Firm");
    block.replace(42, 5, "CV 61");
    block.replace(82, 4, "2.01");
    block.replace(122, 6, "000042");
    return block;
}

}  // namespace pelvoro::instrdata_testing
