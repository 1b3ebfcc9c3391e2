#include "files/document_writer.h"

#include <charconv>
#include <ostream>

#include "document/structure_document.h"
#include "files/document_file.h"
#include "files/document_format.h"

namespace pelvoro {

using namespace document_format;

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}  // namespace

void StreamSink::write(std::string_view bytes) {
    out_.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string_view itemFieldPrefix(ItemField field) {
    switch (field) {
        case ItemField::ID:
            return "ID: ";
        case ItemField::PID:
            return "PID: ";
        case ItemField::BID:
            return "BID: ";
        case ItemField::Name:
            return "Name: ";
        case ItemField::Type:
            return "Type: ";
        case ItemField::ProtVer:
            return "ProtVer: ";
        case ItemField::FpString:
            return "FP_String: ";
        case ItemField::ResText:
            return "ResText: ";
        case ItemField::GraphString:
            break;
    }
    return "GraphString: ";
}

DocumentWriter::DocumentWriter(ByteSink& sink) : sink_(sink) {
    buffer_.reserve(kFlushSize + 4096);
}

DocumentWriter::~DocumentWriter() {
    flush();
}

void DocumentWriter::flush() {
    if (buffer_.empty()) return;
    sink_.write(buffer_);
    buffer_.clear();
}

void DocumentWriter::line(std::string_view text) {
    buffer_.append(text);
    buffer_.append("\r\n");
    if (buffer_.size() >= kFlushSize) flush();
}

void DocumentWriter::value(std::string_view prefix, std::string_view text) {
    buffer_.append(prefix);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos) {
            buffer_.append(text.substr(i));
            break;
        }
        buffer_.append(text.substr(i, end - i));
        buffer_ += ' ';
        i = end + 1;
        if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
    }
    line({});
}

void DocumentWriter::field(ItemField f, std::string_view text) {
    value(itemFieldPrefix(f), text);
}

void DocumentWriter::field(ItemField f, long number) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, number);
    value(itemFieldPrefix(f), std::string_view(digits, std::size_t(r.ptr - digits)));
}

void DocumentWriter::blockEnd(long n) {
    buffer_.append(kBlockEnd);
    buffer_.append(std::to_string(n));
    line({});
}

void DocumentWriter::item(const ItemBlock& block) {
    for (const auto& [f, text] : block.lines) field(f, text);
    blockEnd(block.end);
}

void DocumentWriter::head(int version, const TInstrumentData& instrument,
                          const TOperatorData& header, const std::vector<std::string>& comments) {
    auto numbered = [this](int n, const std::string& v) {
        if (!v.empty()) value(std::to_string(n) + ": ", v);
    };
    line(std::string(kVersionPrefix) + std::to_string(version));
    line("");

    line(kInstrumentMarker);
    for (int n = 1; n <= TInstrumentData::kLines; ++n) numbered(n, instrument.line(n));
    line(kTerminator);
    line("");

    line(kOperatorMarker);
    for (int n = 1; n <= 7; ++n) numbered(n, header.lines[kOperatorSlot[n - 1]]);
    line(kTerminator);
    line("");

    line(kHeaderInstrMarker);
    for (int n = 1; n <= 4; ++n) numbered(n, instrument.line(kHeaderInstrLine[n - 1]));
    line(kTerminator);
    line("");

    line(kCommentsMarker);
    for (const std::string& c : comments) {
        // A comment that reads exactly like the terminator would end the comments when
        // the file is read back and lose the rest: it gets a trailing blank.
        std::string text = flattenValue(c);
        if (text == kTerminator) text += ' ';
        line(text);
    }
    line(kTerminator);
    line("");

    line(kItemsMarker);
}

void DocumentWriter::emptyHead(int version) {
    head(version, TInstrumentData{}, TOperatorData{}, {});
}

}  // namespace pelvoro
