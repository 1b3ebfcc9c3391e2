#include "protocols/family_b/family_b_records.h"

namespace pelvoro {

TreePosition familyBPosition(std::string_view record) {
    auto at = [&](std::size_t i) {
        return i < record.size() ? int(static_cast<unsigned char>(record[i])) : 0;
    };
    return {at(0) * 256 + at(1), at(2) * 256 + at(3), at(4) * 256 + at(5)};
}

GraphSplit splitGraph(std::string_view record) {
    GraphSplit out;
    const std::size_t q = record.size() >= kFamilyBHeaderSize
                              ? record.find(std::string_view("\0G", 2), kFamilyBHeaderSize - 1)
                              : std::string_view::npos;
    if (q == std::string_view::npos) {
        out.record = std::string(record);
        return out;
    }
    out.record = std::string(record.substr(0, q));
    std::string graph = q + 4 < record.size() ? std::string(record.substr(q + 4)) : std::string();
    if (std::size_t cut = graph.find("*#"); cut != std::string::npos) graph.resize(cut);
    out.graph.reserve(graph.size());
    for (std::size_t i = 0; i < graph.size(); ++i) {
        if (graph[i] == '\n' && i + 1 < graph.size() && graph[i + 1] == '\r') {
            out.graph += '\x14';
            ++i;  // the CR after the LF is dropped
            continue;
        }
        out.graph += graph[i];
    }
    return out;
}

}  // namespace pelvoro
