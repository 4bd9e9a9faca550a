#pragma once

// A label template file as written: the XML format of the open label template database that
// Debian's glabels-data installs (docs/formats/label-templates.md), read into plain values with
// nothing converted yet. TTemplateConverter turns them into template rows.
//
// The file is outside input (a user's own file, a maker's newer one, anything picked by mistake),
// so it is read within bounds and refused with a reason as a whole when it goes past them: more
// bytes than Limits().maxBytes (checked before reading a regular file, and while reading anything
// else), elements nested deeper than maxDepth, more than maxElements elements, an attribute value
// longer than maxAttributeLength, a document type that declares entities (no entity is ever
// expanded), an entity reference, malformed XML, or a root element that is not
// "Glabels-templates". Element names are taken without their namespace. Attributes a template
// lacks stay absent here; the converter says which one a template misses. An <Alias brand part>
// inside a template (the older form of the format) becomes an entry of its own, an equivalent of
// that template.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qm::labels {

struct TTemplateFileLayout {
    std::optional<QString> nx, ny, x0, y0, dx, dy;
};

struct TTemplateFileLabel {
    QString kind;                       // "Label-rectangle", "Label-round", "Label-cd", ...
    QHash<QString, QString> attributes; // width, height, round, radius, ...
    std::vector<TTemplateFileLayout> layouts;
};

struct TTemplateFileEntry {
    std::optional<QString> brand, part, equiv, size, width, height;
    // For an <Alias brand part> of an older file: the brand of the template it names (equiv
    // holds that template's part). The reader puts such an entry right after its template.
    std::optional<QString> equivBrand;
    std::optional<QString> description; // "_description", else "description"
    QStringList categories;             // the Meta elements' category attributes
    std::vector<TTemplateFileLabel> labels;
    qint64 line = 0; // where the Template element starts
};

class TTemplateFile {
public:
    struct TLimits {
        qint64 maxBytes = 8 * 1024 * 1024; // the whole database is about 1 MB
        int maxDepth = 16;                 // the format nests 4 deep
        int maxElements = 200'000;
        int maxAttributeLength = 4096;
    };
    static const TLimits& DefaultLimits();

    // Reads the file at path; a file that cannot be opened or read is refused with the reason.
    static TTemplateFile ReadFile(const QString& path, const TLimits& limits = DefaultLimits());
    static TTemplateFile Read(const QByteArray& bytes, const TLimits& limits = DefaultLimits());

    // Empty when the file was read; else why it is not a template file the program can read.
    const QString& Problem() const { return mProblem; }
    const std::vector<TTemplateFileEntry>& Templates() const { return mTemplates; }

private:
    QString mProblem;
    std::vector<TTemplateFileEntry> mTemplates;
};

} // namespace qm::labels
