#pragma once
// Qt's own texts (the file dialog's buttons and labels) in the program's language: Czech
// through Qt's installed translations while Czech.lng is chosen, Qt's English otherwise.
// It follows a language chosen while the program runs.
#include <QTranslator>
#include <string>

class Qt_Translation
{
public:
    void Follow(const std::string& language_file_path);

private:
    QTranslator Translator;
    bool Installed = false;
};
