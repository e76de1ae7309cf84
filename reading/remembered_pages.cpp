#include "reading/remembered_pages.h"

#include <algorithm>

#include "settings/settings_file.h"

namespace teluri {
namespace {

constexpr std::string_view kSection = "LastPage";

std::string Key(const char* name, int slot) {
    return name + std::to_string(slot);
}

}  // namespace

std::optional<std::string> MessageNumberOf(std::string_view text) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::string(4 - text.size(), '0') + std::string(text);
}

RememberedPages RememberedPages::Read(const SettingsFile& ini) {
    RememberedPages pages;
    for (int slot = 1; slot <= kMaxFolders; ++slot) {
        const std::string folder = ini.ReadText(kSection, Key("Folder", slot), "");
        const std::optional<std::string> number =
            MessageNumberOf(ini.ReadText(kSection, Key("Page", slot), ""));
        if (!folder.empty() && number && !pages.PageOf(folder)) {
            pages.entries_.emplace_back(folder, *number);
        }
    }
    return pages;
}

void RememberedPages::Write(SettingsFile& ini) const {
    for (int slot = 1; slot <= kMaxFolders; ++slot) {
        const std::size_t at = static_cast<std::size_t>(slot - 1);
        const bool used = at < entries_.size();
        ini.WriteText(kSection, Key("Folder", slot), used ? entries_[at].first : "");
        ini.WriteText(kSection, Key("Page", slot), used ? entries_[at].second : "");
    }
}

std::optional<std::string> RememberedPages::PageOf(std::string_view folder) const {
    for (const auto& [path, number] : entries_) {
        if (path == folder) {
            return number;
        }
    }
    return std::nullopt;
}

void RememberedPages::Remember(std::string_view folder, std::string_view number) {
    const std::optional<std::string> page = MessageNumberOf(number);
    if (folder.empty() || !page) {
        return;
    }
    std::erase_if(entries_, [folder](const auto& entry) { return entry.first == folder; });
    entries_.insert(entries_.begin(), {std::string(folder), *page});
    if (entries_.size() > static_cast<std::size_t>(kMaxFolders)) {
        entries_.resize(kMaxFolders);
    }
}

}  // namespace teluri
