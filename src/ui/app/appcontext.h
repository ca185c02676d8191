#pragma once
// What the whole program shares: the program folder, the settings and the port list.
#include <string>
#include <vector>

#include "app/files.h"
#include "app/options.h"

namespace plumet::ui {

struct AppContext {
    Path programFolder;
    Settings settings;
    std::vector<std::string> ports; // "COM " + id, as last enumerated
};

AppContext& App();

} // namespace plumet::ui
