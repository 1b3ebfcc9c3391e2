#include "reports/structure_print.h"

#include <algorithm>
#include <cmath>

#include "document/item_types.h"
#include "document/structure_document.h"
#include "reports/light_report.h"

namespace pelvoro {

namespace {

int rounded(double v) {
    return int(std::lround(v));
}

}  // namespace

bool isSectionRootType(int type) {
    return type == ItemType::Block || type == ItemType::LightRod || type == ItemType::MPE ||
           type == ItemType::DistBoard;
}

bool hasGreyIcon(int icon) {
    switch (icon) {
        case 70:  // objects
        case 10:  // blocks and distribution boards
        case 11:  // lightning rods
        case 12:  // MPEs
        case 13:  // fuses
        case 14:  // RCDs
            return true;
        default:
            return false;
    }
}

std::vector<SectionEntry> buildSection(const StructureItem& root) {
    std::vector<SectionEntry> out;
    out.push_back({&root, 0, -1});
    // Depth first, children in order; an explicit stack keeps deep trees off the call stack.
    struct Pending {
        const StructureItem* item;
        int parent;
    };
    std::vector<Pending> stack;
    auto pushChildren = [&](const StructureItem& item, int index) {
        for (int i = item.childCount() - 1; i >= 0; --i) stack.push_back({item.child(i), index});
    };
    pushChildren(root, 0);
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        const int type = p.item->type();
        if (type == ItemType::Block || isResultType(type)) continue;
        const int index = int(out.size());
        out.push_back({p.item, out[size_t(p.parent)].level + 1, p.parent});
        // Nested lightning rods and MPEs are leaves here: they have sections of their own.
        if (type == ItemType::LightRod || type == ItemType::MPE) continue;
        pushChildren(*p.item, index);
    }
    return out;
}

StructurePrintPlanner::StructurePrintPlanner(TextMeasure& measure, double unitsPerMm,
                                             ReportPaper paper)
    : measure_(measure), unitsPerMm_(unitsPerMm), paper_(paper) {}

StructurePrintPlan StructurePrintPlanner::plan(const StructureDocument& doc,
                                               const StructurePrintTitle& title) const {
    StructurePrintPlan p;
    auto mm = [&](double v) { return rounded(v * unitsPerMm_); };
    p.pageWidth = mm(paper_.widthMm);
    p.pageHeight = mm(paper_.heightMm);
    p.margin = mm(kReportMarginMm);
    p.width = p.pageWidth - 2 * p.margin;
    p.height = p.pageHeight - 2 * p.margin;
    p.itemFont = itemFont;
    p.chainFont = chainFont;
    const int th = measure_.lineHeight(itemFont);
    const int L = p.lineHeight = rounded(1.15 * th);
    const int I = p.iconSize = rounded(1.05 * th);
    const int D = p.indent = rounded(1.5 * L);
    // The title line and its rule above the drawing.
    const int titleHeight = measure_.lineHeight(titleFont);
    const int titleRule = titleHeight + mm(1);
    const int x0 = L, y0 = titleRule + L;
    const int bottomLimit = p.height - 3 * L;
    auto rowY = [&](int row) { return y0 + row * L; };
    auto captionX = [&](int x) { return x + rounded(1.5 * I); };
    auto connect = [&](StructurePage& page, int px, int py, int x, int y) {
        page.connectors.push_back({px + I / 2, py + I, y + I / 2, x});
    };

    // The grey chain of the section root's ancestors (the document's top item excluded).
    auto drawChain = [&](StructurePage& page, const StructureItem& root) {
        std::vector<const StructureItem*> chain;
        for (const StructureItem* a = root.parent(); a && a->level() >= 1; a = a->parent())
            chain.push_back(a);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            const StructureItem* a = *it;
            const int k = a->level();
            StructureEntry e;
            e.item = a;
            e.style = StructureEntryStyle::Chain;
            e.caption = "(" + a->caption() + ")";
            const int icon = itemTypeIcon(a->type());
            if (hasGreyIcon(icon)) {
                e.icon = icon;
                e.greyIcon = true;
            }
            e.x = x0 + (k - 1) * D;
            e.y = rowY(k - 1);
            e.captionX = captionX(e.x);
            if (a->parent() && a->parent()->level() > 0)
                connect(page, x0 + (k - 2) * D, rowY(k - 2), e.x, e.y);
            page.entries.push_back(e);
        }
    };

    const std::vector<StructureItem*>& items = doc.preorder();
    for (size_t i = 1; i < items.size(); ++i) {
        const StructureItem& root = *items[i];
        if (!isSectionRootType(root.type())) continue;
        const std::vector<SectionEntry> section = buildSection(root);
        const int r0 = root.level() - 1;
        const int rootX = x0 + r0 * D;
        auto entryX = [&](size_t index) { return rootX + section[index].level * D; };
        size_t next = 0;
        while (next < section.size()) {
            p.pages.emplace_back();
            StructurePage& page = p.pages.back();
            drawChain(page, root);
            std::vector<int> rowOf(section.size(), -1);
            int row = r0;
            if (next > 0) {
                // A continued section: the ancestors of the first item of this page, from
                // the section root down, in parentheses.
                std::vector<size_t> up;
                for (int a = section[next].parent; a >= 0; a = section[size_t(a)].parent)
                    up.push_back(size_t(a));
                for (auto it = up.rbegin(); it != up.rend(); ++it) {
                    const size_t a = *it;
                    StructureEntry e;
                    e.item = section[a].item;
                    e.style = StructureEntryStyle::Ancestor;
                    e.caption = "(" + e.item->caption() + ")";
                    e.icon = itemTypeIcon(e.item->type());
                    e.x = entryX(a);
                    e.y = rowY(row);
                    e.captionX = captionX(e.x);
                    const int parent = section[a].parent;
                    if (parent >= 0 && rowOf[size_t(parent)] >= 0)
                        connect(page, entryX(size_t(parent)), rowY(rowOf[size_t(parent)]), e.x,
                                e.y);
                    rowOf[a] = row++;
                    page.entries.push_back(e);
                }
            }
            page.dottedLineY = rowY(row) - 2;
            bool drawn = false;
            while (next < section.size()) {
                const int y = rowY(row);
                if (drawn && y + L > bottomLimit) break;
                StructureEntry e;
                e.item = section[next].item;
                e.caption = e.item->caption();
                e.icon = itemTypeIcon(e.item->type());
                e.x = entryX(next);
                e.y = y;
                e.captionX = captionX(e.x);
                const int parent = section[next].parent;
                if (parent >= 0 && rowOf[size_t(parent)] >= 0)
                    connect(page, entryX(size_t(parent)), rowY(rowOf[size_t(parent)]), e.x, e.y);
                rowOf[next] = row++;
                page.entries.push_back(e);
                drawn = true;
                ++next;
            }
        }
    }
    if (p.pages.empty()) p.pages.emplace_back();
    const int pages = int(p.pages.size());
    for (int i = 0; i < pages; ++i) {
        StructurePage& page = p.pages[size_t(i)];
        std::string number = title.pageOf.empty() ? "%1 / %2" : title.pageOf;
        for (const auto& [mark, value] : {std::pair{"%1", i + 1}, std::pair{"%2", pages}}) {
            const size_t at = number.find(mark);
            if (at != std::string::npos) number.replace(at, 2, std::to_string(value));
        }
        const int numberWidth = measure_.width(number, titleFont);
        const int dateWidth = measure_.width(title.date, titleFont);
        const int dateLeft = std::max(rounded((p.width - dateWidth) / 2.0), 0);
        // A long name is shortened in the middle rather than run into the date.
        std::string name = title.document;
        const int nameRoom = dateLeft - mm(3);
        if (measure_.width(name, titleFont) > nameRoom && name.size() > 8) {
            size_t keep = name.size();
            std::string shortened;
            do {
                --keep;
                shortened = name.substr(0, keep / 2) + "..." + name.substr(name.size() - keep / 2);
            } while (keep > 6 && measure_.width(shortened, titleFont) > nameRoom);
            name = shortened;
        }
        page.title.push_back({name, titleFont, 0, 0});
        page.title.push_back({title.date, titleFont, dateLeft, 0});
        page.title.push_back({number, titleFont, p.width - numberWidth, 0});
        page.titleRuleY = titleRule;
    }
    return p;
}

}  // namespace pelvoro
