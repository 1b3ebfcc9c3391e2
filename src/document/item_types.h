#pragma once
// Item type codes of the structure tree and what belongs to each code.

#include <string>

namespace pelvoro {

namespace ItemType {
enum : int {
    Root = 0,
    Object = 1,
    Block = 2,
    LightRod = 3,
    MPE = 4,
    Fuse = 5,
    RCD = 6,
    Electrode = 7,
    ConnectionEl = 8,
    ConnectionMPE = 9,
    Earthing = 10,
    Floor = 11,
    Room = 12,
    Table = 13,
    Connection = 14,
    Undefined = 22,
    Measurement = 23,
    GraphMeasurement = 24,
    Object_AN = 30,
    DistBoard = 31,
    SubDistBoard = 32,
    Circuit = 33,
    EarthCond = 34,
    MainEqBond = 35,
    WaterServ = 36,
    OilServ = 37,
    LightProt = 38,
    GasServ = 39,
    StructSteel = 40,
    OtherServ = 41,
    EarthElectr = 42,
};
}  // namespace ItemType

enum class ItemFamily {
    Structure,
    Installation,
    InstallationGeneral,
    General,
    Result,
    SecondInstallation
};

struct ItemTypeInfo {
    int code;
    const char* name;  // "Fuse"
    ItemFamily family;
    const char* englishCaption;  // "Fuse"
    const char* addCaptionKey;   // "mmStrAddFuse_15", empty when there is no add command
    int icon;                    // index in the main image list, -1 for none
};

// The known types in code order.
const ItemTypeInfo* itemTypes(int* count);
// Null for a code this program does not create.
const ItemTypeInfo* itemTypeInfo(int code);
// Image list index of a type's icon, -1 for none (also for unknown codes).
int itemTypeIcon(int code);

inline bool isResultType(int code) {
    return code == ItemType::Measurement || code == ItemType::GraphMeasurement;
}
inline bool isObjectType(int code) {
    return code == ItemType::Object || code == ItemType::Object_AN;
}

}  // namespace pelvoro
