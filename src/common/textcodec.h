#pragma once
// Where Windows-1252 byte strings of core become QStrings and back.
#include <QString>
#include <string>
#include <string_view>

namespace plumet {

QString ToQt(std::string_view bytes);
// Characters Windows-1252 cannot hold become '?'; input fields refuse them before this.
std::string ToBytes(const QString& text);
bool IsCp1252Text(const QString& text);
// A command-line argument as typed, in the system's encoding (UTF-8 on Linux), as such bytes.
std::string ArgumentBytes(const std::string& typed);

} // namespace plumet
