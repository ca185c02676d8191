#include "core/registers/clubs.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace plumet;
    ClubTable clubs;
    LoadClubs(clubs, fuzz::Put("club/club.dat", data, size));
    for (const ListEntry& entry : ClubListEntries(clubs)) CurrentClubFields(clubs, entry.key);
    return 0;
}
