#include "results/coded_record.h"

namespace pelvoro {

std::string cleanValueText(std::string_view raw, bool* hadUnsafe) {
    std::string text;
    text.reserve(raw.size());
    bool unsafe = false;
    for (char c : raw) {
        if (c == ';' || c == '\r' || c == '\n') {
            unsafe = true;
            c = ' ';
        }
        text.push_back(c);
    }
    if (hadUnsafe) *hadUnsafe = unsafe;
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    std::size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

ValueGroup CodedRecordReader::next(bool timeAndDateHaveNoCodes) {
    ValueGroup g;
    if (atEnd()) {
        g.truncated = true;
        return g;
    }
    g.kind = data_[pos_++];
    bool codes = !(timeAndDateHaveNoCodes && (g.kind == 'T' || g.kind == 'D'));
    if (codes) {
        if (pos_ + 2 > data_.size()) {
            // The record ends inside the group's codes: the rest is not a group.
            pos_ = data_.size();
            g.truncated = true;
            return g;
        }
        g.quantity = static_cast<unsigned char>(data_[pos_++]);
        g.unit = static_cast<unsigned char>(data_[pos_++]);
    }
    std::size_t end = data_.find('\0', pos_);
    std::string_view raw;
    if (end == std::string_view::npos) {
        // The last value may lack its closing 0 (a record cut before its graph part).
        raw = data_.substr(pos_);
        pos_ = data_.size();
    } else {
        raw = data_.substr(pos_, end - pos_);
        pos_ = end + 1;
    }
    g.value = cleanValueText(raw, &g.unsafeValue);
    return g;
}

}  // namespace pelvoro
