#include "ui/app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLockFile>
#include <QTranslator>
#include <memory>
#include <cstdio>

#include "common/appcontext.h"
#include "common/textcodec.h"
#include "core/app/catalogue.h"
#include "core/app/folderlock.h"
#include "core/app/options.h"
#include "core/releasepoints/releasepoints.h"
#include "ui/app/formtexts.h"
#include "ui/app/mainwindow.h"
#include "ui/app/messages.h"

namespace plumet::ui {

QStringList PrepareProgramFolder(const Path& folder) {
    QStringList problems;
    App().programFolder = folder;
    LoadCatalogue(); // the core's reasons in the folder's language, from here on
    // What the start writes, it writes as any writer: under the lock, which first completes or
    // undoes a save a crash interrupted. While a writer beside the program holds the folder,
    // that writer does it and the program starts on what is there.
    const FolderWriteLock lock(folder, "Plumet", std::chrono::milliseconds(0));
    if (!lock.Held() && !CheckUnfinishedSaves(folder, {}).notice.empty()) problems << ToQt(lock.Refusal());
    const auto failed = EnsureDataFolders(folder);
    if (!failed.empty()) {
        QStringList names;
        for (const auto& name : failed) names << QString::fromStdString(name);
        problems << ToQt(CatalogueText("Startup.FoldersNotCreated", {PathText(folder), ToBytes(names.join(", "))}));
    }
    const Path catalogueFile = ResolvePath(folder, kCatalogueFileName);
    const FileContent catalogue = ReadWholeFile(catalogueFile);
    if (catalogue.status == ReadStatus::Missing && lock.Held()) {
        QFile shipped(":/data/club.txt");
        const QByteArray bytes = shipped.open(QIODevice::ReadOnly) ? shipped.readAll() : QByteArray();
        if (const SaveResult saved = SaveFileAtomically(catalogueFile, bytes.toStdString()); !saved)
            problems << ToQt(CatalogueText("Startup.EnglishTexts", {saved.error}));
    } else if (catalogue.status == ReadStatus::Unreadable) {
        problems << ToQt(CatalogueText("Startup.EnglishTexts", {CannotReadText(catalogueFile, catalogue.problem)}));
    }
    if (lock.Held())
        if (const SaveResult created = CreateMissingRacePoints(RacePointFilePath(folder)); !created)
            problems << ToQt(created.error);
    App().settings = ReadOptions(folder);
    LoadCatalogue(); // a catalogue just put there
    if (!App().settings.damage.empty()) problems << ToQt(App().settings.damage);
    if (!App().settings.programOptionsDamage.empty()) problems << ToQt(App().settings.programOptionsDamage);
    UseCatalogueLanguage();
    return problems;
}

void UseCatalogueLanguage() {
    static std::unique_ptr<QTranslator> installed;
    if (installed) QCoreApplication::removeTranslator(installed.get());
    installed.reset();
    const QString language = ToQt(LoadCatalogue().LookupText("Language"));
    if (language.isEmpty() || language == "en") return; // Qt speaks English by itself
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
}

int RunProgram() {
    const Path folder = QDir::currentPath().toStdString();
    App().programFolder = folder;
    LoadCatalogue(); // to say in the folder's language that it is taken
    QLockFile lock(QDir::current().filePath("plumet.lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        const QString text = ToQt(CatalogueText("Startup.AlreadyRunning", {PathText(folder)}));
        std::fprintf(stderr, "%s\n", qPrintable(text));
        ShowMessage(nullptr, MessageIcon::Critical, "Plumet", text);
        return 1;
    }
    const QStringList problems = PrepareProgramFolder(folder);
    MainWindow window;
    window.show();
    if (!problems.isEmpty()) ShowMessage(&window, MessageIcon::Exclamation, "Plumet", problems.join("\n\n"));
    return QApplication::exec();
}

} // namespace plumet::ui
