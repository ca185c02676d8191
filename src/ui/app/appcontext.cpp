#include "app/appcontext.h"

namespace plumet::ui {

AppContext& App() {
    static AppContext context;
    return context;
}

} // namespace plumet::ui
