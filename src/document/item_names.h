#pragma once
// Names the user does not have to type: each item type's default name with its list of
// alternative names, the numbering of new items' names, the choice lists of the nine
// installation parameters and the connection and location name lists.
//
// The shipped names are sections of the structure names file ("NAMES_<type code>", key
// "Default" for the default name, every other key an alternative name, in file order).
// The user's own names are kept in the settings store ("StructName_<code>" for the
// default name, "StructAltNames_<code>" for the alternatives, one per line); a type the
// store knows nothing of takes the shipped names.

#include <array>
#include <string>
#include <vector>

namespace pelvoro {

class IniFile;
class SettingsStore;
class StructureItem;
struct TItemTexts;
struct TStructItemData;

// The types that have a default name: the codes 1 .. 14 and 31 .. 42.
const std::vector<int>& namedItemTypes();
bool hasStructureName(int type);

class StructureNames {
  public:
    static constexpr std::size_t kMaxNameLength = 13;

    // Empty when never set (also for types without a name).
    const std::string& defaultName(int type) const;
    // Cut to kMaxNameLength bytes; ignored for types without a name.
    void setDefaultName(int type, const std::string& name);
    const std::vector<std::string>& alternatives(int type) const;
    void setAlternatives(int type, std::vector<std::string> names);
    // Puts `name` at the top of the type's list.
    void addAlternative(int type, const std::string& name);
    bool isAlternative(int type, const std::string& name) const;
    void clear();

    // The shipped names of the structure names file (types without a section are left
    // as they are).
    void loadOriginals(const IniFile& ini);
    // The user's names; types the store does not hold are left as they are.
    void loadFromStore(const SettingsStore& store);
    void storeTo(SettingsStore& store) const;

    bool operator==(const StructureNames&) const = default;

  private:
    struct Entry {
        std::string defaultName;
        std::vector<std::string> alternatives;
        bool operator==(const Entry&) const = default;
    };
    Entry* entry(int type);
    const Entry* entry(int type) const;
    std::array<Entry, 43> entries_;
};

// The names of this run.
StructureNames& structureNames();

// The current default name of a type.
std::string DefaultName(int type);
// The name of a new item of `type` placed under `parent`: the default name followed by
// one more than the largest number that follows it among the parent's children.
std::string NewItemName(int type, const StructureItem& parent);
std::string NewItemName(const std::string& base, const StructureItem& parent);
// The user gave `item` the name `name`: an alternative name of the item's type becomes
// the type's default name. True when the default name changed.
bool NameChosen(const StructureItem& item, const std::string& name);
bool NameChosen(StructureNames& names, int type, const std::string& name);

// The nine installation parameters with choice lists, in the order of the settings
// panel: Phase, CrossSection, Wiring, Insulation, CircuitBreaker, TrippingTime, RcdType,
// NominalCurrent, DiffCurrent.
constexpr int kParameterCount = 9;
struct ParameterInfo {
    const char* section;             // section of the structure names file
    std::string TItemTexts::*field;  // field of the item record
};
const std::array<ParameterInfo, kParameterCount>& parameterInfos();
std::string& parameterField(TStructItemData& data, int index);
const std::string& parameterField(const TStructItemData& data, int index);

using ParameterLists = std::array<std::vector<std::string>, kParameterCount>;
// The key names of each section in file order; a missing file or section gives an
// empty list.
ParameterLists LoadParameterLists(const IniFile& ini);
ParameterLists LoadParameterLists(const std::string& structureNamesPath);

// Connection names (rows 1 .. 22) and location names (rows 1 .. 25) of the installation
// names dialog. Index 0 is row 1.
struct InstallationNames {
    static constexpr int kRows = 25;
    static constexpr int kConnections = 22;
    static constexpr int kLocations = 25;
    std::array<std::string, kRows> connection;
    std::array<std::string, kRows> location;
    bool operator==(const InstallationNames&) const = default;
};
// Rows 1 .. 19 get the built-in texts of the current language; other rows are kept.
void loadOriginalInstallationNames(InstallationNames& names);
// Every value the store holds replaces its cell.
void loadInstallationNamesFromStore(InstallationNames& names, const SettingsStore& store);
// The names at the dialog's creation: the store's when it holds them, else built-in.
InstallationNames initialInstallationNames(const SettingsStore& store);
void storeInstallationNames(const InstallationNames& names, SettingsStore& store);

}  // namespace pelvoro
