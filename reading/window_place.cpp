#include "reading/window_place.h"

#include "settings/settings_file.h"

namespace teluri {

std::optional<WindowPlace> ReadWindowPlace(const SettingsFile& ini, std::string_view section) {
    WindowPlace place;
    place.normal.width = ini.ReadNumber(section, "Width", 0);
    place.normal.height = ini.ReadNumber(section, "Height", 0);
    if (place.normal.width <= 0 || place.normal.height <= 0) {
        return std::nullopt;
    }
    place.normal.left = ini.ReadNumber(section, "Left", 0);
    place.normal.top = ini.ReadNumber(section, "Top", 0);
    place.maximized = ini.ReadFlag(section, "Maximized", false);
    return place;
}

void WriteWindowPlace(SettingsFile& ini, std::string_view section, const WindowPlace& place) {
    ini.WriteNumber(section, "Left", place.normal.left);
    ini.WriteNumber(section, "Top", place.normal.top);
    ini.WriteNumber(section, "Width", place.normal.width);
    ini.WriteNumber(section, "Height", place.normal.height);
    ini.WriteFlag(section, "Maximized", place.maximized);
}

}  // namespace teluri
