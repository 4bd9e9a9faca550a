#pragma once

// Spelling through Hunspell. The dictionary is the home's own "quillm.aff" with "quillm.dic" when
// both are there, else the system's en_US (the first folder of SystemDictionaryDirs holding
// en_US.aff and en_US.dic). The user's own words are kept in the home's "quillmu.dct": UTF-8, one
// word a line, read when the checker is made and appended to by AddWord.
//
// Words the check passes over: merge markers ("[Full Name]") and words holding a digit. Checking a
// word never fails: without a dictionary (IsLoaded false) every word is correct, and the letter
// designer leaves its spell-check command disabled.

#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

namespace qm::spelling {

class TSpellChecker {
public:
    static constexpr const char* HomeDictionaryName = "quillm";
    static constexpr const char* UserWordsName = "quillmu.dct";

    // `homeDir`: the program home. `systemDirs`: where the system dictionaries are looked for.
    explicit TSpellChecker(const QString& homeDir,
                           const QStringList& systemDirs = SystemDictionaryDirs());
    ~TSpellChecker();
    TSpellChecker(const TSpellChecker&) = delete;
    TSpellChecker& operator=(const TSpellChecker&) = delete;

    // Debian's and the common places of Hunspell dictionaries.
    static QStringList SystemDictionaryDirs();

    bool IsLoaded() const { return mHunspell != nullptr; }
    // The .dic file in use, empty when none loaded.
    QString DictionaryPath() const { return mDictionaryPath; }

    bool IsCorrect(const QString& word) const;
    // Replacement candidates, best first (none without a dictionary).
    QStringList Suggestions(const QString& word) const;

    // Adds the word to the user's words (file and this checker). False, with Error() set, when
    // the file cannot be written; the word is then accepted for this session only.
    bool AddWord(const QString& word);
    QString Error() const { return mError; }

    // True for text the check passes over: a word holding a digit.
    static bool IsSkipped(const QString& word);

private:
    std::string Encode(const QString& word) const;
    QString Decode(const std::string& word) const;

    std::unique_ptr<Hunspell> mHunspell;
    QString mDictionaryPath;
    QString mUserWordsPath;
    bool mUtf8 = true;
    QString mError;
};

} // namespace qm::spelling
