#include "spelling/TSpellChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <hunspell/hunspell.hxx>

namespace qm::spelling {

namespace {

// Hunspell words longer than this are never in a dictionary; it refuses them anyway.
constexpr qsizetype MaxWordLength = 100;

} // namespace

QStringList TSpellChecker::SystemDictionaryDirs()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell/dicts"),
            QStringLiteral("/usr/share/myspell"), QStringLiteral("/usr/local/share/hunspell")};
}

TSpellChecker::TSpellChecker(const QString& homeDir, const QStringList& systemDirs)
{
    const QDir home(homeDir);
    QString aff = home.filePath(QStringLiteral("quillm.aff"));
    QString dic = home.filePath(QStringLiteral("quillm.dic"));
    if (!QFileInfo::exists(aff) || !QFileInfo::exists(dic)) {
        aff.clear();
        dic.clear();
        for (const QString& dir : systemDirs) {
            const QDir folder(dir);
            if (QFileInfo::exists(folder.filePath(QStringLiteral("en_US.aff"))) &&
                QFileInfo::exists(folder.filePath(QStringLiteral("en_US.dic")))) {
                aff = folder.filePath(QStringLiteral("en_US.aff"));
                dic = folder.filePath(QStringLiteral("en_US.dic"));
                break;
            }
        }
    }
    mUserWordsPath = home.filePath(QString::fromLatin1(UserWordsName));
    if (aff.isEmpty())
        return;
    mHunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                           QFile::encodeName(dic).constData());
    const QString encoding = QString::fromStdString(mHunspell->get_dict_encoding()).toUpper();
    mUtf8 = encoding == QStringLiteral("UTF-8") || encoding == QStringLiteral("UTF8");
    mDictionaryPath = dic;

    QFile userWords(mUserWordsPath);
    if (userWords.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(userWords.readAll()).split(QLatin1Char('\n'));
        for (QString line : lines) {
            line = line.trimmed();
            if (line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            if (!line.isEmpty())
                mHunspell->add(Encode(line));
        }
    }
}

TSpellChecker::~TSpellChecker() = default;

std::string TSpellChecker::Encode(const QString& word) const
{
    return mUtf8 ? word.toStdString() : word.toLatin1().toStdString();
}

QString TSpellChecker::Decode(const std::string& word) const
{
    return mUtf8 ? QString::fromStdString(word)
                 : QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
}

bool TSpellChecker::IsSkipped(const QString& word)
{
    for (const QChar c : word)
        if (c.isDigit())
            return true;
    return false;
}

bool TSpellChecker::IsCorrect(const QString& word) const
{
    if (!mHunspell || word.isEmpty() || IsSkipped(word) || word.size() > MaxWordLength)
        return true;
    // Curly apostrophes are spelled with the straight one in the dictionary.
    QString plain = word;
    plain.replace(QChar(0x2019), QLatin1Char('\''));
    return mHunspell->spell(Encode(plain));
}

QStringList TSpellChecker::Suggestions(const QString& word) const
{
    QStringList result;
    if (!mHunspell || word.isEmpty() || word.size() > MaxWordLength)
        return result;
    for (const std::string& suggestion : mHunspell->suggest(Encode(word)))
        result.append(Decode(suggestion));
    return result;
}

bool TSpellChecker::AddWord(const QString& word)
{
    const QString clean = word.trimmed();
    if (clean.isEmpty())
        return true;
    if (mHunspell)
        mHunspell->add(Encode(clean));
    QFile file(mUserWordsPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        mError = QStringLiteral("The word could not be added to %1: %2")
                     .arg(QDir::toNativeSeparators(mUserWordsPath), file.errorString());
        return false;
    }
    const QByteArray line = clean.toUtf8() + '\n';
    if (file.write(line) != line.size() || !file.flush()) {
        mError = QStringLiteral("The word could not be added to %1: %2")
                     .arg(QDir::toNativeSeparators(mUserWordsPath), file.errorString());
        return false;
    }
    mError.clear();
    return true;
}

} // namespace qm::spelling
