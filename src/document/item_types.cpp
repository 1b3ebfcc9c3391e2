#include "document/item_types.h"

namespace pelvoro {

namespace {
using F = ItemFamily;
constexpr ItemTypeInfo kTypes[] = {
    {0, "Root", F::Structure, "", "", -1},
    {1, "Object", F::InstallationGeneral, "Object", "mmStrAddObject_15", 70},
    {2, "Block", F::Installation, "Block", "mmStrAddBlock_15", 10},
    {3, "LightRod", F::Installation, "Lightning rod", "mmStrAddLightRod_15", 11},
    {4, "MPE", F::Installation, "MPE", "mmStrAddMPE_15", 12},
    {5, "Fuse", F::Installation, "Fuse", "mmStrAddFuse_15", 13},
    {6, "RCD", F::Installation, "RCD", "mmStrAddRCD_15", 14},
    {7, "Electrode", F::Installation, "Electrode", "mmStrAddElectr_15", 15},
    {8, "ConnectionEl", F::Installation, "Connection El", "mmStrAddConnectEl_15", 16},
    {9, "ConnectionMPE", F::Installation, "Connection MPE", "mmStrAddConnectMPE_15", 17},
    {10, "Earthing", F::Installation, "Earthing", "mmStrAddEarthing_15", 18},
    {11, "Floor", F::General, "Floor", "mmStrAddFloor_15", 19},
    {12, "Room", F::General, "Room", "mmStrAddRoom_15", 20},
    {13, "Table", F::General, "Table", "mmStrAddTable_15", 21},
    {14, "Connection", F::Installation, "Connection", "mmStrAddConnect_15", 71},
    {22, "Undefined", F::Structure, "", "", 22},
    {23, "Measurement", F::Result, "", "", 23},
    {24, "GraphMeasurement", F::Result, "", "", 62},
    {30, "Object_AN", F::SecondInstallation, "Object_AN", "mmStrAddObject_15", 70},
    {31, "DistBoard", F::SecondInstallation, "Distribution board", "mmStrAddDistBoard_15", 10},
    {32, "SubDistBoard", F::SecondInstallation, "Sub Distribution board", "mmStrAddSubDistBoard_15",
     55},
    {33, "Circuit", F::SecondInstallation, "Circuit_AN", "mmStrAddCircuit_15", 13},
    {34, "EarthCond", F::SecondInstallation, "Cont_C_AN", "mmStrAddEarthCond_15", 42},
    {35, "MainEqBond", F::SecondInstallation, "Cont_M_AN", "mmStrAddMainEqBond_15", 43},
    {36, "WaterServ", F::SecondInstallation, "Cont_W_AN", "mmStrAddWaterServ_15", 44},
    {37, "OilServ", F::SecondInstallation, "Cont_O_AN", "mmStrAddOilServ_15", 45},
    {38, "LightProt", F::SecondInstallation, "Cont_L_AN", "mmStrAddLightProt_15", 46},
    {39, "GasServ", F::SecondInstallation, "Cont_G_AN", "mmStrAddGasServ_15", 47},
    {40, "StructSteel", F::SecondInstallation, "Cont_S_AN", "mmStrAddStructSteel_15", 48},
    {41, "OtherServ", F::SecondInstallation, "Cont_I_AN", "mmStrAddOtherServ_15", 49},
    {42, "EarthElectr", F::SecondInstallation, "Cont_E_AN", "mmStrAddEarthElectr_15", 50},
};
}  // namespace

const ItemTypeInfo* itemTypes(int* count) {
    if (count) *count = int(sizeof(kTypes) / sizeof(kTypes[0]));
    return kTypes;
}

const ItemTypeInfo* itemTypeInfo(int code) {
    for (const auto& t : kTypes)
        if (t.code == code) return &t;
    return nullptr;
}

int itemTypeIcon(int code) {
    const ItemTypeInfo* t = itemTypeInfo(code);
    return t ? t->icon : -1;
}

}  // namespace pelvoro
