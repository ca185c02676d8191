#include "common/catalogues.h"

#include <QFile>

#include "common/appcontext.h"

namespace plumet {

const TextCatalogue& ShippedCatalogue() {
    static const TextCatalogue shipped = [] {
        TextCatalogue catalogue;
        QFile file(":/data/club.txt");
        if (file.open(QIODevice::ReadOnly)) catalogue.LoadFromBytes(file.readAll().toStdString());
        return catalogue;
    }();
    return shipped;
}

TextCatalogue LoadCatalogue() {
    TextCatalogue catalogue;
    if (catalogue.Load(App().programFolder)) catalogue.AddMissingFrom(ShippedCatalogue());
    else catalogue = ShippedCatalogue();
    // The core words its reasons from the same texts the windows show.
    UseCatalogues(catalogue, ShippedCatalogue());
    return catalogue;
}

std::vector<std::string> ReadingEndedWarnings(const TextCatalogue& catalogue, const Path& programFolder,
                                              const std::vector<ReadingEnded>& ended) {
    const std::string text = catalogue.Contains(kReadingEndedKey) ? catalogue.LookupText(kReadingEndedKey)
                                                                  : ShippedCatalogue().LookupText(kReadingEndedKey);
    std::vector<std::string> warnings;
    for (const ReadingEnded& one : ended) warnings.push_back(ReadingEndedText(text, programFolder, one));
    return warnings;
}

} // namespace plumet
