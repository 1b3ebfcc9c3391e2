#pragma once
// What every instrument command works with: the link to the tester, the selected model
// (owned by the main window, or by the command-line program) and the instrument data of
// the tester last read, which the downloads copy into their documents.

#include <string>

#include "document/structure_document.h"
#include "instrument/link.h"

namespace pelvoro {

// The checked entry of the model menu and its model family number.
class ModelSelection {
  public:
    virtual ~ModelSelection() = default;
    // The key of the checked entry; empty when none is checked.
    virtual std::string checkedModelKey() const = 0;
    // ModelFamily: 0 none (Auto Find), 1 family B (and C), 2 family A with arguments on
    // their own lines, 3 family A with arguments after ";".
    virtual int modelFamily() const = 0;
    // Identification recognised a model: check its entry and set its model family. The
    // desktop program also disables the instrument data dialog's Send button here.
    virtual void checkIdentifiedModel(const std::string& key, int modelFamily) = 0;
};

// A selection held in memory (command-line program, tests).
class SimpleModelSelection : public ModelSelection {
  public:
    explicit SimpleModelSelection(std::string key = "AutoFind", int family = 0)
        : key_(std::move(key)), family_(family) {}
    std::string checkedModelKey() const override { return key_; }
    int modelFamily() const override { return family_; }
    void checkIdentifiedModel(const std::string& key, int modelFamily) override {
        key_ = key;
        family_ = modelFamily;
        ++identifications;
    }
    int identifications = 0;

  private:
    std::string key_;
    int family_;
};

struct InstrumentContext {
    InstrumentContext(Link& l, ModelSelection& m, std::string brand)
        : link(l), models(m), brandTitle(std::move(brand)) {}

    Link& link;
    ModelSelection& models;
    // The brand title decides how family B testers' firmware field is read and which
    // model the port dialog's auto find preselects for them.
    std::string brandTitle;
    // The data of the tester last read (the main window's record).
    TInstrumentData data;
};

}  // namespace pelvoro
