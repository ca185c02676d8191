#include "common/appcontext.h"

namespace plumet {

AppContext& App() {
    static AppContext context;
    return context;
}

DateTime LocalNow() {
    if (App().timeSource) return App().timeSource->Now();
    return SystemTimeSource().Now();
}

} // namespace plumet
