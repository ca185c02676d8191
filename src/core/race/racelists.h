#pragma once
// The pick lists of the race dialogs: clubs, fanciers of a club and release points, each item
// with the text shown and the number it stands for.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/registers/clubs.h"
#include "core/registers/fanciers.h"
#include "core/releasepoints/releasepoints.h"

namespace plumet {

struct ListItem {
    std::string text;
    int number = 0;
    bool operator==(const ListItem&) const = default;
};

// Name (characters 4-33) and number (1-3) of every club.
std::vector<ListItem> ClubItems(const ClubTable& clubs);
// Name (characters 4-23) and number (1-3) of every fancier.
std::vector<ListItem> FancierItems(const FancierTable& fanciers);
// Name and place (characters 3-45) and number (1-2) of every release point whose name and
// place are not blank.
std::vector<ListItem> RacePointItems(const RacePointTable& points);

// The position of the item whose text is exactly `text`; 0 (the first item) when none is.
std::size_t IndexOfItemText(const std::vector<ListItem>& items, std::string_view text);

} // namespace plumet
