#include "search/hit_rows.h"

#include "base/lines.h"

namespace teluri {

std::optional<HitRows> HitRows::FromLog(std::string content) {
    content.resize(ContentBeforeNul(content).size());
    if (content.size() > kMaxBytes) {
        return std::nullopt;
    }
    HitRows rows;
    rows.bytes_ = std::move(content);
    std::size_t line = 0;
    ForEachLine(rows.bytes_, [&rows, &line](std::string_view text) {
        if (line++ % 3 == 0) {
            rows.starts_.push_back(static_cast<std::uint32_t>(text.data() - rows.bytes_.data()));
        }
    });
    rows.starts_.shrink_to_fit();
    return rows;
}

void HitRows::Append(std::string_view line) {
    bytes_ += line;
    bytes_ += "\r\n";
}

void HitRows::Add(std::string_view title) {
    starts_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    Append(title);
}

void HitRows::CompleteLast(const SearchHit& hit) {
    Append(hit.number);
    Append(KindText(hit.kind));
}

std::vector<std::string_view> HitRows::Lines(std::size_t row) const {
    const std::size_t start = starts_.at(row);
    const std::size_t end = row + 1 < starts_.size() ? starts_[row + 1] : bytes_.size();
    std::vector<std::string_view> lines;
    ForEachLine(std::string_view(bytes_).substr(start, end - start),
                [&lines](std::string_view line) { lines.push_back(line); });
    return lines;
}

std::string_view HitRows::Title(std::size_t row) const {
    return Lines(row).front();
}

std::optional<std::string_view> HitRows::Number(std::size_t row) const {
    const std::vector<std::string_view> lines = Lines(row);
    if (lines.size() < 2) {
        return std::nullopt;
    }
    return lines[1];
}

HitKind HitRows::Kind(std::size_t row) const {
    const std::vector<std::string_view> lines = Lines(row);
    return lines.size() == 3 && lines[2] == KindText(kHitBuilder) ? kHitBuilder : kHitDelphi;
}

std::size_t HitRows::HeldBytes() const {
    return bytes_.capacity() + starts_.capacity() * sizeof(std::uint32_t);
}

}  // namespace teluri
