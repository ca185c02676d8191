#pragma once
// Shared by the fuzz targets: one program folder per fuzzing process, in which every save
// fails, so an input leaves no trace and each one meets the same files.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "core/app/files.h"
#include "core/app/fixedwidth.h"

namespace plumet::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline void WriteFile(const Path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Golden(const std::string& relative) { return ReadWholeFile(Path(PLUMET_TEST_DATA) / relative).bytes; }

// Club 007 with the golden fancier and pigeon files of its fancier 012.
class FuzzFolder {
public:
    FuzzFolder() : path_(std::filesystem::temp_directory_path() / ("plumet-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        WriteFile(path_ / "club" / "club.dat", " 1 \r\n" + PadRight("007Zur Post", 63) + "\r\n");
        WriteFile(path_ / "fancier" / "f007.DAT", Golden("fanciers/f007.DAT"));
        WriteFile(path_ / "pigeon" / "p007012.dat", Golden("pigeons/p007012.dat"));
        for (const char* folder : {"race", "racecalc", "exchange", "racepo", "tools"})
            std::filesystem::create_directories(path_ / folder);
        SetSaveFaultForTests([](const Path&) { return true; });
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const Path& path() const { return path_; }

private:
    Path path_;
};

inline const Path& Folder() {
    static const FuzzFolder folder;
    return folder.path();
}

// The input as the file `relative` of the folder.
inline Path Put(std::string_view relative, const std::uint8_t* data, std::size_t size) {
    const Path path = ResolvePath(Folder(), relative);
    WriteFile(path, Bytes(data, size));
    return path;
}

} // namespace plumet::fuzz
