#pragma once
// Helpers of the document file tests: golden files beside this file, a small English
// language, documents built in a few lines.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "document/structure_document.h"
#include "support/language_fixture.h"

namespace pelvoro::testing {

inline std::string filesTestData(const std::string& name) {
    // From the source folder the build names: __FILE__ may be relative (a compiler cache
    // makes paths relative to the build folder), and the tests run in another folder.
    return (std::filesystem::path(PELVORO_SOURCE_DATA_DIR).parent_path() / "tests/files/data" /
            name)
        .string();
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline const char* kFilesLanguage =
    "[Language]\n"
    "AllItems_15=All items\n"
    "UnKnown_15=Unknown\n"
    "Result_10=Result\n"
    "mbcConfirmation_20=Confirmation\n"
    "msgFileNotExist_35=File does not exist!\n"
    "msgWriteError_35=Write error!\n"
    "msgWantSaveFile_50=Save the file?\n"
    "msgWantSaveChanges_50=Save the changes?\n"
    "msgNewFunct_35=New functions!\n";

// Lines joined with CR LF, each line ended.
inline std::string crlf(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) {
        s += l;
        s += "\r\n";
    }
    return s;
}

// A compact picture of a tree: "name(child,child)" in order, root excluded.
inline std::string shape(const StructureItem& item) {
    std::string s;
    for (int i = 0; i < item.childCount(); ++i) {
        const StructureItem* c = item.child(i);
        if (i) s += ",";
        s += c->data.Name;
        if (c->childCount()) s += "(" + shape(*c) + ")";
    }
    return s;
}

}  // namespace pelvoro::testing
