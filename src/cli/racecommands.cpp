#include "cli/racecommands.h"

#include <ostream>

#include "race/decimals.h"
#include "race/geodesic.h"

namespace plumet::cli {

int RunDistance(CliContext& context, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < 4; i += 2)
        if (!IsPositionText(args[i], args[i + 1]))
            return context.Fail("", "Not a position: " + args[i] + " " + args[i + 1] +
                                        " (latitude like N51301525, longitude like E007050000)");
    const double km = GeodesicDistanceKm(args[0], args[1], args[2], args[3]);
    context.out << FormatDecimal(km, 1, 4, '.') << '\n';
    return kSuccess;
}

} // namespace plumet::cli
