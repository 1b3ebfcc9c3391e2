#pragma once
// The measurement document: a tree of installation items with their results, the data
// of the instrument that took them and the report header lines.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/graph_data.h"

namespace pelvoro {

// A part of an item's data that most items lack, kept out of line: it takes memory only
// on the items that have it. Reading an absent part gives its defaults; editing creates it.
// Copies are deep.
template <class T>
class OutOfLine {
  public:
    OutOfLine() = default;
    OutOfLine(const OutOfLine& other)
        : part_(other.part_ ? std::make_unique<T>(*other.part_) : nullptr) {}
    OutOfLine(OutOfLine&&) noexcept = default;
    OutOfLine& operator=(const OutOfLine& other) {
        if (this != &other) part_ = other.part_ ? std::make_unique<T>(*other.part_) : nullptr;
        return *this;
    }
    OutOfLine& operator=(OutOfLine&&) noexcept = default;

    bool present() const { return part_ != nullptr; }
    const T& get() const {
        static const T defaults{};
        return part_ ? *part_ : defaults;
    }
    T& edit() {
        if (!part_) part_ = std::make_unique<T>();
        return *part_;
    }
    void reset() { part_.reset(); }

  private:
    std::unique_ptr<T> part_;
};

// What the settings panel shows of an installation item (result items have none of it)
// and the numbers its entry is sent under.
struct TItemTexts {
    std::string Number = "1";
    std::string Phase;
    std::string CrossSection;
    std::string Wiring;
    std::string Insulation;
    std::string CircuitBreaker;
    std::string TrippingTime;
    std::string RcdType;
    std::string NominalCurrent;
    std::string DiffCurrent;
    std::string Comment;
    std::array<std::string, 3> LevelNumbers;
};

// The curve some results carry: its graph text and what it decodes to.
struct TItemCurve {
    std::string GraphString;
    TGraphData Graph;
};

struct TStructItemData {
    int32_t ID = 0;
    int32_t PID = -1;
    int32_t BID = -1;
    int32_t Type = 0;
    std::string Name;
    std::array<uint8_t, 5> Measures{};  // bit i: entry i of the measures list (0 .. 16)
    // displayed, first heading, second heading, group used
    std::array<uint8_t, 4> TableFlags{};
    // How many of the first ResTexts came from the file (the rest were generated from
    // the FP strings when it was loaded); -1 until counted. The reader counts them, and
    // otherwise the first generation of lines for the item does.
    int32_t FileTextCount = -1;
    int32_t FirstRow = 0;
    int32_t L1Count = 0;
    int32_t ProtVer = 0;
    std::vector<std::string> ResTexts;
    std::vector<std::string> FpStrings;
    OutOfLine<TItemTexts> Texts;
    OutOfLine<TItemCurve> Curve;

    const TItemTexts& texts() const { return Texts.get(); }
    TItemTexts& editTexts() { return Texts.edit(); }
    const std::string& graphString() const { return Curve.get().GraphString; }
    const TGraphData& graph() const { return Curve.get().Graph; }
    TGraphData& editGraph() { return Curve.edit().Graph; }
    // Sets the graph text and the curve decoded from it; an empty text drops the curve.
    void setGraphString(std::string text);

    bool measureBit(int i) const { return (Measures[i / 8] >> (i % 8)) & 1; }
    void setMeasureBit(int i, bool on) {
        if (on)
            Measures[i / 8] |= uint8_t(1u << (i % 8));
        else
            Measures[i / 8] &= uint8_t(~(1u << (i % 8)));
    }
};

// Instrument data, stored in files as the numbered lines 1 to 11.
struct TInstrumentData {
    static constexpr int kLines = 11;
    std::array<std::string, kLines> lines;  // lines[0] is line 1
    std::string InstrVariant;               // kept in memory only

    // n = 1 .. 11.
    std::string& line(int n) { return lines.at(n - 1); }
    const std::string& line(int n) const { return lines.at(n - 1); }

    const std::string& typeCode() const { return lines[0]; }
    const std::string& name() const { return lines[1]; }
    const std::string& model() const { return lines[2]; }
    const std::string& firmwareVersion() const { return lines[3]; }
    const std::string& hardwareVersion() const { return lines[4]; }
    const std::string& serialNumber() const { return lines[6]; }
    const std::string& firmData() const { return lines[7]; }
    const std::string& userData() const { return lines[8]; }
    const std::string& documentVersion() const { return lines[9]; }
    const std::string& calibrationDate() const { return lines[10]; }

    // The variant is derived from item 5, or item 4 for the family B type codes.
    void deriveVariant();
};

// Testers of the type codes "51" to "54" number some functions below 50: in their
// documents a coded result's function code below 50 stands for that code plus 50. The
// offset (50 or 0) that a document of `typeCode` adds to such codes.
int functionCodeOffset(std::string_view typeCode);

// Report header: Operator1..3, TestSite1..3, Footer.
struct TOperatorData {
    static constexpr int kLines = 7;
    std::array<std::string, kLines> lines;
};

class StructureDocument;

class StructureItem {
  public:
    StructureItem() = default;
    // Frees the subtree without recursion, so that damaged files with very deep chains of
    // items cannot exhaust the stack.
    ~StructureItem();
    StructureItem(const StructureItem&) = delete;
    StructureItem& operator=(const StructureItem&) = delete;

    TStructItemData data;

    // The caption shown in the tree is the item's Name.
    const std::string& caption() const { return data.Name; }
    int type() const { return data.Type; }
    bool isResult() const;

    StructureItem* parent() const { return parent_; }
    const std::vector<std::unique_ptr<StructureItem>>& children() const { return children_; }
    int childCount() const { return int(children_.size()); }
    StructureItem* child(int i) const { return children_.at(i).get(); }
    int indexInParent() const { return indexInParent_; }
    StructureItem* previousSibling() const;
    StructureItem* nextSibling() const;
    // The root is level 0.
    int level() const;
    bool isAncestorOf(const StructureItem* other) const;
    // Number of items in this subtree, this one included.
    int subtreeSize() const;

  private:
    friend class StructureDocument;
    StructureItem* parent_ = nullptr;
    std::vector<std::unique_ptr<StructureItem>> children_;
    int indexInParent_ = 0;
    int preorderIndex_ = -1;
};

class StructureDocument {
  public:
    static constexpr int kMaxLevel = 10;

    // A document with only the root, named after the "AllItems_15" text.
    StructureDocument();
    StructureDocument(const StructureDocument&) = delete;
    StructureDocument& operator=(const StructureDocument&) = delete;

    StructureItem& root() { return *root_; }
    const StructureItem& root() const { return *root_; }

    // Appends a child; nullptr when the child would be deeper than kMaxLevel.
    StructureItem* addItem(StructureItem& parent, int type, const std::string& name);
    // Inserts an existing item (and its subtree) at a position among the parent's
    // children (-1 appends). No level check: files and moves keep what they hold.
    StructureItem* attach(StructureItem& parent, std::unique_ptr<StructureItem> item,
                          int index = -1);
    // Takes an item and its subtree out of the tree.
    std::unique_ptr<StructureItem> detach(StructureItem& item);
    // Removes an item and its subtree. The root cannot be deleted.
    void deleteItem(StructureItem& item);
    // Removes everything but the root.
    void clear();

    // Every item in depth-first pre-order; index 0 is the root.
    const std::vector<StructureItem*>& preorder() const;
    int absoluteIndex(const StructureItem& item) const;
    StructureItem* itemAt(int absoluteIndex) const;
    int itemCount() const { return int(preorder().size()); }
    bool contains(const StructureItem& item) const;
    // Items of the subtree of `item`, in pre-order, `item` first.
    std::vector<StructureItem*> subtree(const StructureItem& item) const;

    // Whether a child may be added under `parent` without passing the level limit.
    bool canAddChild(const StructureItem& parent) const { return parent.level() < kMaxLevel; }

    void setModified(bool m = true) { Modified = m; }

    std::string Caption;
    std::string FilePath;
    bool HasFile = false;
    bool Modified = false;
    bool Loading = false;
    bool NewFunctionsSeen = false;
    bool SaveCancelled = false;
    std::string DownloadTag;
    std::string ImportTag;
    bool HasDownloadTemp = false;
    bool HasImportTemp = false;
    TInstrumentData InstrumentData;
    TOperatorData HeaderLines;
    std::vector<std::string> ReportComments;
    int ViewMode = 0;

  private:
    void structureChanged() { preorderValid_ = false; }
    static void renumberChildren(StructureItem& parent, int from);

    std::unique_ptr<StructureItem> root_;
    mutable std::vector<StructureItem*> preorder_;
    mutable bool preorderValid_ = false;
};

}  // namespace pelvoro
