#include "labels/TTemplateFile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace qm::labels {
namespace {

std::optional<QString> Attribute(const QXmlStreamAttributes& attributes, QLatin1StringView name)
{
    for (const QXmlStreamAttribute& a : attributes)
        if (a.name() == name)
            return a.value().toString();
    return std::nullopt;
}

class TReader {
public:
    TReader(const QByteArray& bytes, const TTemplateFile::TLimits& limits)
        : mXml(bytes), mLimits(limits)
    {
    }

    // Reads the whole document; returns the reason it is refused, or an empty text.
    QString Run(std::vector<TTemplateFileEntry>& templates)
    {
        int depth = 0;
        bool root = false;
        while (!mXml.atEnd()) {
            const QXmlStreamReader::TokenType token = mXml.readNext();
            switch (token) {
            case QXmlStreamReader::DTD:
                // A document type may name the format's DTD; one that declares entities could
                // make a few bytes expand into gigabytes, so it is refused outright.
                if (!mXml.entityDeclarations().isEmpty() ||
                    mXml.text().contains(QLatin1String("<!ENTITY")))
                    return QStringLiteral("it declares XML entities, which are not read");
                break;
            case QXmlStreamReader::EntityReference:
                return QStringLiteral("it uses the XML entity &%1;").arg(mXml.name());
            case QXmlStreamReader::StartElement: {
                if (++depth > mLimits.maxDepth)
                    return QStringLiteral("its elements are nested more than %1 deep")
                        .arg(mLimits.maxDepth);
                if (++mElements > mLimits.maxElements)
                    return QStringLiteral("it holds more than %1 elements")
                        .arg(mLimits.maxElements);
                for (const QXmlStreamAttribute& a : mXml.attributes())
                    if (a.value().size() > mLimits.maxAttributeLength)
                        return QStringLiteral("line %1: an attribute is longer than %2 characters")
                            .arg(mXml.lineNumber())
                            .arg(mLimits.maxAttributeLength);
                const QStringView name = mXml.name();
                if (!root) {
                    root = true;
                    if (name != u"Glabels-templates")
                        return QStringLiteral("it is XML, but not a label template file (its "
                                              "first element is <%1>, not <Glabels-templates>)")
                            .arg(name);
                } else if (depth == 2 && name == u"Template") {
                    templates.push_back(Entry());
                } else if (depth == 3 && !templates.empty()) {
                    Child(templates.back(), name);
                } else if (depth == 4 && !templates.empty() && !templates.back().labels.empty() &&
                           name == u"Layout" && mInLabel) {
                    templates.back().labels.back().layouts.push_back(Layout());
                }
                break;
            }
            case QXmlStreamReader::EndElement:
                if (depth == 3)
                    mInLabel = false;
                if (depth == 2) {
                    for (TTemplateFileEntry& alias : mAliases)
                        templates.push_back(std::move(alias));
                    mAliases.clear();
                }
                --depth;
                break;
            default:
                break;
            }
        }
        if (mXml.hasError()) {
            if (!root)
                return QStringLiteral("it is empty or not XML");
            QString reason = mXml.errorString();
            while (reason.endsWith(QLatin1Char('.')))
                reason.chop(1);
            return QStringLiteral("line %1: %2").arg(mXml.lineNumber()).arg(reason);
        }
        if (!root)
            return QStringLiteral("it is empty or not XML");
        return {};
    }

private:
    TTemplateFileEntry Entry()
    {
        const QXmlStreamAttributes a = mXml.attributes();
        TTemplateFileEntry entry;
        entry.brand = Attribute(a, QLatin1StringView("brand"));
        entry.part = Attribute(a, QLatin1StringView("part"));
        entry.equiv = Attribute(a, QLatin1StringView("equiv"));
        entry.size = Attribute(a, QLatin1StringView("size"));
        entry.width = Attribute(a, QLatin1StringView("width"));
        entry.height = Attribute(a, QLatin1StringView("height"));
        entry.description = Attribute(a, QLatin1StringView("_description"));
        if (!entry.description || entry.description->isEmpty())
            entry.description = Attribute(a, QLatin1StringView("description"));
        entry.line = mXml.lineNumber();
        return entry;
    }

    void Child(TTemplateFileEntry& entry, QStringView name)
    {
        if (name == u"Meta") {
            if (const auto category = Attribute(mXml.attributes(), QLatin1StringView("category")))
                entry.categories << *category;
        } else if (name == u"Alias") {
            const QXmlStreamAttributes a = mXml.attributes();
            TTemplateFileEntry alias;
            alias.brand = Attribute(a, QLatin1StringView("brand"));
            alias.part = Attribute(a, QLatin1StringView("part"));
            alias.equiv = entry.part.value_or(QString());
            alias.equivBrand = entry.brand.value_or(QString());
            alias.line = mXml.lineNumber();
            mAliases.push_back(std::move(alias));
        } else if (name.startsWith(u"Label-")) {
            TTemplateFileLabel label;
            label.kind = name.toString();
            for (const QXmlStreamAttribute& a : mXml.attributes())
                label.attributes.insert(a.name().toString(), a.value().toString());
            entry.labels.push_back(std::move(label));
            mInLabel = true;
        }
    }

    TTemplateFileLayout Layout()
    {
        const QXmlStreamAttributes a = mXml.attributes();
        return {Attribute(a, QLatin1StringView("nx")), Attribute(a, QLatin1StringView("ny")),
                Attribute(a, QLatin1StringView("x0")), Attribute(a, QLatin1StringView("y0")),
                Attribute(a, QLatin1StringView("dx")), Attribute(a, QLatin1StringView("dy"))};
    }

    QXmlStreamReader mXml;
    const TTemplateFile::TLimits& mLimits;
    int mElements = 0;
    bool mInLabel = false;
    std::vector<TTemplateFileEntry> mAliases; // of the template being read
};

} // namespace

const TTemplateFile::TLimits& TTemplateFile::DefaultLimits()
{
    static const TLimits limits;
    return limits;
}

TTemplateFile TTemplateFile::ReadFile(const QString& path, const TLimits& limits)
{
    TTemplateFile file;
    const QFileInfo info(path);
    const QString tooLarge =
        QStringLiteral("it is larger than %1 MB, far more than any template file")
            .arg(limits.maxBytes / (1024 * 1024));
    if (info.isFile() && info.size() > limits.maxBytes) {
        file.mProblem = tooLarge;
        return file;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        file.mProblem = QStringLiteral("it cannot be opened: %1").arg(in.errorString());
        return file;
    }
    // Read one byte more than allowed: a device that keeps giving (a pipe, a special file) is
    // refused after that much.
    const QByteArray bytes = in.read(limits.maxBytes + 1);
    if (in.error() != QFileDevice::NoError) {
        file.mProblem = QStringLiteral("it cannot be read: %1").arg(in.errorString());
        return file;
    }
    if (bytes.size() > limits.maxBytes) {
        file.mProblem = tooLarge;
        return file;
    }
    return Read(bytes, limits);
}

TTemplateFile TTemplateFile::Read(const QByteArray& bytes, const TLimits& limits)
{
    TTemplateFile file;
    if (bytes.size() > limits.maxBytes) {
        file.mProblem = QStringLiteral("it is larger than %1 MB, far more than any template file")
                            .arg(limits.maxBytes / (1024 * 1024));
        return file;
    }
    TReader reader(bytes, limits);
    file.mProblem = reader.Run(file.mTemplates);
    if (!file.mProblem.isEmpty())
        file.mTemplates.clear();
    return file;
}

} // namespace qm::labels
