#include "core/race/racelists.h"

#include "core/app/fixedwidth.h"

namespace plumet {

std::vector<ListItem> ClubItems(const ClubTable& clubs) {
    std::vector<ListItem> items;
    for (const std::string& record : clubs.Records())
        items.push_back({ClubNameOf(record), static_cast<int>(ParseInteger(ClubNumberOf(record)).value_or(0))});
    return items;
}

std::vector<ListItem> FancierItems(const FancierTable& fanciers) {
    std::vector<ListItem> items;
    for (const std::string& record : fanciers.Records())
        items.push_back({FancierNameOf(record), static_cast<int>(ParseInteger(FancierNumberOf(record)).value_or(0))});
    return items;
}

std::vector<ListItem> RacePointItems(const RacePointTable& points) {
    std::vector<ListItem> items;
    for (const std::string& record : points.Records()) {
        const std::string text = RacePointNameOf(record) + RacePointPlaceOf(record);
        if (TrimBlanks(text).empty()) continue;
        items.push_back({text, static_cast<int>(ParseInteger(RacePointFieldsForDisplay(record).number).value_or(0))});
    }
    return items;
}

std::size_t IndexOfItemText(const std::vector<ListItem>& items, std::string_view text) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].text == text) return i;
    return 0;
}

} // namespace plumet
