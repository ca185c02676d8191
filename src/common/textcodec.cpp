#include "common/textcodec.h"

#include <QList>

#include "core/app/cp1252.h"

namespace plumet {

QString ToQt(std::string_view bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }

std::string ToBytes(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const uint cp : text.toUcs4()) {
        const int byte = Cp1252ByteOf(static_cast<char32_t>(cp));
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string ArgumentBytes(const std::string& typed) {
    return ToBytes(QString::fromLocal8Bit(typed.data(), static_cast<qsizetype>(typed.size())));
}

bool IsCp1252Text(const QString& text) {
    for (const uint cp : text.toUcs4())
        if (!IsCp1252Representable(static_cast<char32_t>(cp))) return false;
    return true;
}

} // namespace plumet
