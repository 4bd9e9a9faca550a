#include "design/core/TGLabelObjectFiler.h"

#include "data/TOutputFile.h"
#include "data/TWin1252.h"
#include "design/core/TGClassRegistry.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutWriter.h"

#include <QFile>
#include <QFileInfo>

namespace qm::design {

namespace {

constexpr char kSignature[] = "TPF0";

bool IsEntryFault(TLayoutErrorKind kind)
{
    return kind == TLayoutErrorKind::StreamRead || kind == TLayoutErrorKind::InvalidValue ||
           kind == TLayoutErrorKind::NoSuchProperty;
}

// Reads the property entries of one object, up to and including the 0x00 that ends them.
void ReadProperties(TLayoutReader& in, TGGraphicControl& object, const QString& shownName)
{
    while (!in.AtListEnd()) {
        const qint64 entryStart = in.Position();
        QByteArray name;
        try {
            name = in.ReadShortString();
            const TLayoutValue value = in.ReadValue();
            if (!object.ReadProperty(name, value))
                throw TLayoutError(TLayoutErrorKind::NoSuchProperty,
                                   QString::fromLatin1(TLayoutError::kNoSuchProperty), entryStart);
        } catch (const TLayoutError& error) {
            if (!IsEntryFault(error.Kind()))
                throw;
            throw TLayoutError(TLayoutErrorKind::Property,
                               QStringLiteral("Error reading %1.%2: %3")
                                   .arg(shownName, data::TWin1252::Decode(name), error.Message()),
                               entryStart);
        }
    }
}

// Reads one object record; the object is returned fully read, or the record's fault is thrown
// and the half-read object freed.
std::unique_ptr<TGGraphicControl> ReadObject(TLayoutReader& in, TGOwner& owner)
{
    const qint64 start = in.Position();
    if (in.ReadBytes(4) != QByteArrayView(kSignature, 4))
        throw TLayoutError::InvalidStreamFormat(start);
    const QByteArray className = in.ReadShortString();
    const QString storedName = data::TWin1252::Decode(in.ReadShortString());

    std::unique_ptr<TGGraphicControl> object;
    try {
        object = TGClassRegistry::Instance().Create(className);
    } catch (const TLayoutError& error) {
        throw TLayoutError(error.Kind(), error.Message(), start);
    }

    const QString freeName = owner.FreeComponentName();
    object->SetName(freeName.isEmpty() ? storedName : freeName);
    const QString shownName =
        object->Name().isEmpty() ? QString::fromLatin1(className) : object->Name();
    object->SetReading(true);
    ReadProperties(in, *object, shownName);
    const qint64 childrenAt = in.Position();
    if (in.ReadByte() != 0) // the list of child objects is always empty
        throw TLayoutError::InvalidStreamFormat(childrenAt);
    object->SetReading(false);
    return object;
}

void FinishRead(const std::vector<TGGraphicControl*>& objects, TGBasePanel& panel, int shift)
{
    // The zoom and the shift are part of the read: they raise nothing; the bounds then count as
    // recorded. The stored 100 % geometry shows at the panel's zoom, and a paste lands the shift
    // right and down of it as shown, at any zoom.
    for (TGGraphicControl* object : objects) {
        object->SetReading(true);
        object->SetScale(panel.Scale());
        if (shift != 0)
            object->SetBounds(object->Left() + shift, object->Top() + shift, object->Width(),
                              object->Height());
        object->SetReading(false);
        object->RecordBounds();
    }
}

} // namespace

void TGLabelObjectFiler::WriteObject(TLayoutWriter& out, const TGGraphicControl& object)
{
    out.Buffer().append(kSignature, 4);
    out.WriteShortString(object.ClassName());
    QChar bad;
    const auto name = data::TWin1252::Encode(object.Name(), &bad);
    if (!name)
        throw TLayoutError(TLayoutErrorKind::Text,
                           QStringLiteral("The object name \"%1\" cannot be stored in a layout")
                               .arg(object.Name()));
    out.WriteShortString(*name);
    object.WriteProperties(out);
    out.WriteByte(0); // end of properties
    out.WriteByte(0); // end of the (empty) list of child objects
}

QByteArray TGLabelObjectFiler::PanelBytes(const std::vector<const TGGraphicControl*>& objects)
{
    QByteArray bytes;
    TLayoutWriter out(bytes);
    out.WriteListStart();
    for (const TGGraphicControl* object : objects)
        WriteObject(out, *object);
    out.WriteListEnd();
    return bytes;
}

QByteArray TGLabelObjectFiler::PanelBytes(const TGBasePanel& panel)
{
    std::vector<const TGGraphicControl*> objects;
    for (const auto& object : panel.Objects())
        objects.push_back(object.get());
    return PanelBytes(objects);
}

std::vector<TGGraphicControl*> TGLabelObjectFiler::ReadPanelList(TLayoutReader& in, TGOwner& owner,
                                                                 TGBasePanel& panel, int shift)
{
    std::vector<TGGraphicControl*> read;
    try {
        in.ReadListStart();
        while (!in.AtListEnd()) {
            std::unique_ptr<TGGraphicControl> object = ReadObject(in, owner);
            TGGraphicControl* raw = panel.AddObject(std::move(object));
            raw->AfterCreate();
            read.push_back(raw);
        }
    } catch (...) {
        FinishRead(read, panel, shift);
        throw;
    }
    FinishRead(read, panel, shift);
    return read;
}

std::vector<TGGraphicControl*> TGLabelObjectFiler::ReadPanelBytes(const QByteArray& bytes,
                                                                  TGOwner& owner,
                                                                  TGBasePanel& panel, int shift)
{
    TLayoutReader in(bytes);
    return ReadPanelList(in, owner, panel, shift);
}

void TGLabelObjectFiler::WriteFile(const QString& path, const QByteArray& bytes)
{
    data::TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TLayoutError(TLayoutErrorKind::Io,
                           QStringLiteral("Cannot create file \"%1\". %2")
                               .arg(QFileInfo(path).fileName(), file.errorString()),
                           -1, path);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw TLayoutError(TLayoutErrorKind::Io,
                           QStringLiteral("Cannot write file \"%1\". %2")
                               .arg(QFileInfo(path).fileName(), file.errorString()),
                           -1, path);
}

std::optional<QByteArray> TGLabelObjectFiler::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        throw TLayoutError(TLayoutErrorKind::Io,
                           QStringLiteral("Cannot open file \"%1\". %2")
                               .arg(QFileInfo(path).fileName(), file.errorString()),
                           -1, path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TLayoutError(TLayoutErrorKind::Io,
                           QStringLiteral("Cannot read file \"%1\". %2")
                               .arg(QFileInfo(path).fileName(), file.errorString()),
                           -1, path);
    return bytes;
}

void TGLabelObjectFiler::SaveToFile(TGBasePanel& panel, const QString& path)
{
    // The objects write their 100 % geometry whatever the zoom: the panel keeps its scale.
    for (const auto& object : panel.Objects())
        object->ClearData();
    try {
        WritePanel(panel, path);
    } catch (...) {
        panel.RefreshData();
        throw;
    }
    panel.RefreshData();
}

void TGLabelObjectFiler::LoadFromFile(TGBasePanel& panel, const QString& path)
{
    try {
        ReadPanel(panel.Owner(), panel, path);
    } catch (...) {
        panel.RefreshData();
        throw;
    }
    panel.RefreshData();
}

void TGLabelObjectFiler::WritePanel(const TGBasePanel& panel, const QString& path)
{
    WriteFile(path, PanelBytes(panel));
}

void TGLabelObjectFiler::ReadPanel(TGOwner& owner, TGBasePanel& panel, const QString& path)
{
    const auto bytes = ReadFile(path);
    if (!bytes)
        return;
    try {
        ReadPanelBytes(*bytes, owner, panel);
    } catch (const TLayoutError& error) {
        throw error.WithPath(path);
    }
}

void TGLabelObjectFiler::WriteBands(const std::array<const TGBasePanel*, 3>& bands,
                                    const QString& path, const TSettingsWriter& settings)
{
    QByteArray bytes;
    for (const TGBasePanel* band : bands)
        bytes.append(PanelBytes(*band));
    TLayoutWriter out(bytes);
    out.WriteListStart();
    if (settings)
        settings(out);
    out.WriteListEnd();
    WriteFile(path, bytes);
}

void TGLabelObjectFiler::ReadBands(TGOwner& owner, const std::array<TGBasePanel*, 3>& bands,
                                   const QString& path, const TSettingsReader& settings)
{
    const auto bytes = ReadFile(path);
    if (!bytes)
        return;
    try {
        TLayoutReader in(*bytes);
        for (TGBasePanel* band : bands)
            ReadPanelList(in, owner, *band);
        in.ReadListStart();
        if (settings)
            settings(in);
        while (!in.AtListEnd()) // values the settings reader did not take
            in.ReadValue();
    } catch (const TLayoutError& error) {
        throw error.WithPath(path);
    }
}

void TGLabelObjectFiler::WriteSelection(const std::vector<TGGraphicControl*>& objects,
                                        const QString& path)
{
    if (objects.empty())
        return;
    WriteFile(path,
              PanelBytes(std::vector<const TGGraphicControl*>(objects.begin(), objects.end())));
}

void TGLabelObjectFiler::WriteOne(const TGGraphicControl& object, const QString& path)
{
    WriteFile(path, PanelBytes(std::vector<const TGGraphicControl*>{&object}));
}

void TGLabelObjectFiler::ReadPasted(TGOwner& owner, TGBasePanel& panel, const QString& path)
{
    const auto bytes = ReadFile(path);
    if (!bytes)
        return;
    try {
        ReadPanelBytes(*bytes, owner, panel, kPasteOffset);
    } catch (const TLayoutError& error) {
        panel.NotifyChanged();
        throw error.WithPath(path);
    }
    panel.NotifyChanged();
}

TGGraphicControl* TGLabelObjectFiler::Duplicate(const TGGraphicControl& object, TGOwner& owner,
                                                TGBasePanel& panel)
{
    const QByteArray bytes = PanelBytes(std::vector<const TGGraphicControl*>{&object});
    const std::vector<TGGraphicControl*> read = ReadPanelBytes(bytes, owner, panel);
    return read.empty() ? nullptr : read.front();
}

} // namespace qm::design
