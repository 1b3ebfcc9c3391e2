#pragma once
// Writing the document file format: the head (version line and the header sections),
// then one block per item. Every writer of documents goes through this: saving, the
// import of transcripts and every download.
//
// A value never holds a line break: every CR LF, CR or LF inside a value is written as
// one blank. Lines end with CR LF.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/byte_sink.h"

namespace pelvoro {

struct TInstrumentData;
struct TOperatorData;

// The lines of an item block, in the order they stand in the file.
enum class ItemField { ID, PID, BID, Name, Type, ProtVer, FpString, ResText, GraphString };

// An item block as a value: its lines in order and the number of its end line.
struct ItemBlock {
    std::vector<std::pair<ItemField, std::string>> lines;
    long end = 0;

    ItemBlock& add(ItemField field, std::string text) {
        lines.emplace_back(field, std::move(text));
        return *this;
    }
    ItemBlock& add(ItemField field, long number) { return add(field, std::to_string(number)); }
    bool operator==(const ItemBlock&) const = default;
};

class DocumentWriter {
  public:
    // Text is gathered in a buffer and handed to `sink` in large pieces.
    explicit DocumentWriter(ByteSink& sink);
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter&) = delete;
    DocumentWriter& operator=(const DocumentWriter&) = delete;

    // "Version: n" and the sections of instrument data, report header, the header's
    // instrument lines and report comments (lines with empty values are left out), then
    // "$StructureItems%".
    void head(int version, const TInstrumentData& instrument, const TOperatorData& header,
              const std::vector<std::string>& comments);
    // The same with every section empty (downloads and imports: the instrument data come
    // with the document, not with the file).
    void emptyHead(int version);

    // A line of an item block.
    void field(ItemField field, std::string_view text);
    void field(ItemField field, long number);
    // "----------" + n, the end of an item block.
    void blockEnd(long n);
    void item(const ItemBlock& block);

    // Hands what is buffered to the sink.
    void flush();

  private:
    void line(std::string_view text);
    void value(std::string_view prefix, std::string_view text);

    ByteSink& sink_;
    std::string buffer_;
};

// The text of a field's line prefix ("FP_String: ").
std::string_view itemFieldPrefix(ItemField field);

}  // namespace pelvoro
