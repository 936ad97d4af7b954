#include "ui/main/Qt_Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "config/Language_File.h"

void Qt_Translation::Follow(const std::string& language_file_path)
{
    const bool czech = Is_Czech_Language_File(language_file_path);
    if (czech == Installed) return;
    if (!czech)
    {
        QCoreApplication::removeTranslator(&Translator);
        Installed = false;
        return;
    }
    // Loaded only when wanted: an English start pays nothing for it.
    if (Translator.isEmpty() && !Translator.load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    Installed = QCoreApplication::installTranslator(&Translator);
}
