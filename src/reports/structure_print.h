#pragma once
// The structure print: the structure tree of a document drawn as an indented diagram, one
// section per board-like item (block, lightning rod, MPE, distribution board). A section
// shows that item's sub-tree (without nested blocks and result entries; nested lightning
// rods and MPEs as leaves, since they get sections of their own) under the chain of its
// ancestors in grey italic parentheses and a dotted line. Every section starts on a new
// page; a long one goes on over further pages, each repeating the ancestors.
//
// Every page carries a title line: the document's name, the report date and "Page n of m"
// over a rule.
//
// This file lays the pages out; reports/adapters draws them. Positions are in the
// measure's units relative to the top-left corner of the printable area.

#include <string>
#include <vector>

#include "common/text_measure.h"
#include "reports/light_report.h"

namespace pelvoro {

class StructureDocument;
class StructureItem;

// Whether an item of this type starts a section of its own.
bool isSectionRootType(int type);

// One item of a section: the item and its level in the section (the section root is 0).
struct SectionEntry {
    const StructureItem* item = nullptr;
    int level = 0;
    int parent = -1;  // index of its parent in the section; -1 for the root
};

// The section of `root` in tree order.
std::vector<SectionEntry> buildSection(const StructureItem& root);

enum class StructureEntryStyle {
    Chain,     // an ancestor of the section root: grey italic, grey icon, in parentheses
    Ancestor,  // a section item repeated above a continued page: bold, in parentheses
    Item       // a section item: bold black
};

struct StructureEntry {
    std::string caption;  // as printed, parentheses included
    int icon = -1;        // image-list index; -1 draws no icon
    bool greyIcon = false;
    StructureEntryStyle style = StructureEntryStyle::Item;
    int x = 0, y = 0;  // the icon's top-left corner
    int captionX = 0;  // where the caption starts
    const StructureItem* item = nullptr;
};

// A connector: down from (x, y1) to y2, then across to x2.
struct StructureConnector {
    int x = 0, y1 = 0, y2 = 0, x2 = 0;
};

struct StructurePage {
    std::vector<ReportText> title;  // the title line, relative to the drawing area
    int titleRuleY = -1;
    std::vector<StructureEntry> entries;
    std::vector<StructureConnector> connectors;
    int dottedLineY = -1;  // -1: no dotted line (an empty page)
};

struct StructurePrintPlan {
    int pageWidth = 0, pageHeight = 0, margin = 0;
    int width = 0, height = 0;  // the drawing area
    int lineHeight = 0;         // L
    int iconSize = 0;           // I
    int indent = 0;             // D
    FontSpec itemFont, chainFont;
    std::vector<StructurePage> pages;
};

// The texts of the title line.
struct StructurePrintTitle {
    std::string document;  // the document's name
    std::string date;      // the report date
    std::string pageOf;    // "Page %1 of %2"
};

// Grey icons exist for objects, blocks, lightning rods, MPEs, fuses and RCDs.
bool hasGreyIcon(int icon);

class StructurePrintPlanner {
  public:
    StructurePrintPlanner(TextMeasure& measure, double unitsPerMm, ReportPaper paper = {});

    StructurePrintPlan plan(const StructureDocument& document,
                            const StructurePrintTitle& title = {}) const;

    FontSpec itemFont{"Arial", 10, true, false, false};
    FontSpec chainFont{"Arial", 10, false, true, false};
    FontSpec titleFont{"Arial", 9, false, false, false};

  private:
    TextMeasure& measure_;
    double unitsPerMm_;
    ReportPaper paper_;
};

}  // namespace pelvoro
