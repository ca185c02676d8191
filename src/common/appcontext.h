#pragma once
// What the whole program shares: the program folder, the settings and the port list.
#include <chrono>
#include <string>
#include <vector>

#include "core/app/files.h"
#include "core/app/folderlock.h"
#include "core/app/options.h"
#include "core/app/timesource.h"

namespace plumet {

struct AppContext {
    Path programFolder;
    Settings settings;
    std::vector<std::string> ports; // "COM " + id, as last enumerated
    const TimeSource* timeSource = nullptr; // nullptr: the system clock (tests freeze their own)
    std::chrono::milliseconds writeLockWait = kWriteLockWait; // how long a save waits for another writer
};

AppContext& App();

// The local date and time from App().timeSource.
DateTime LocalNow();

} // namespace plumet
