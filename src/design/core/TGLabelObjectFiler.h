#pragma once

// The layout stream filer: writes design objects as layout streams and reads them back into
// panels (docs/formats/layout-stream.md).
//
// Contract:
// - Every read appends to the panel, on top of its objects. Each object read is renamed
//   "Component" + the smallest free N in 0..1000 in the owning window (the stored name stays when
//   all are taken), runs AfterCreate and takes the panel's Scale.
// - A failing read throws TLayoutError with the message to show ("Class %s not found",
//   "Invalid stream format", "Stream read error", "Error reading %s.%s: %s"); the objects read
//   before the failing record stay on the panel, the failing one is discarded, the rest of the
//   stream is ignored. No allocation is larger than the stream; lists nest at most kMaxDepth.
// - Writes build the stream in memory and replace the file only when it is complete
//   (data::TOutputFile); a failure throws TLayoutError(Io) with the OS reason and leaves any old
//   file.
// - Paths are used as given; the checks on layout file names live in TLayoutFileNames.

#include "design/core/TGBasePanel.h"
#include "design/core/TGOwner.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace qm::design {

class TLayoutReader;
class TLayoutWriter;

class TGLabelObjectFiler {
public:
    static constexpr int kMaxDepth = 16;
    static constexpr int kPasteOffset = 15;

    // Writes the report settings list's values (between the 0x01 and 0x00 the filer writes).
    using TSettingsWriter = std::function<void(TLayoutWriter&)>;
    // Reads the report settings list's values: the reader stands after the list's 0x01; the
    // handler reads values until it sees the 0x00 (TLayoutReader::AtListEnd) or stops earlier.
    using TSettingsReader = std::function<void(TLayoutReader&)>;

    // ---- files
    // Writes the panel's objects as a layout stream at 100 % coordinates (each object's 100 %
    // geometry, whatever the zoom) with no record values (ClearData, write, RefreshData). The
    // file is replaced only when complete. On failure throws TLayoutError; the objects and the
    // zoom are as before (RefreshData has run).
    static void SaveToFile(TGBasePanel& panel, const QString& path);
    // Appends the objects of a layout file to the panel (nothing when it does not exist), with the
    // panel's owner naming them and the panel's Scale, then RefreshData. On a read failure the
    // objects read so far stay, RefreshData runs, and the TLayoutError is thrown.
    static void LoadFromFile(TGBasePanel& panel, const QString& path);
    static void WritePanel(const TGBasePanel& panel, const QString& path);
    // Nothing happens when the file does not exist.
    static void ReadPanel(TGOwner& owner, TGBasePanel& panel, const QString& path);
    static void WriteBands(const std::array<const TGBasePanel*, 3>& bands, const QString& path,
                           const TSettingsWriter& settings);
    static void ReadBands(TGOwner& owner, const std::array<TGBasePanel*, 3>& bands,
                          const QString& path, const TSettingsReader& settings);
    // No file is written when objects is empty.
    static void WriteSelection(const std::vector<TGGraphicControl*>& objects, const QString& path);
    static void WriteOne(const TGGraphicControl& object, const QString& path);
    // As ReadPanel, each object read moved 15 right and 15 down.
    static void ReadPasted(TGOwner& owner, TGBasePanel& panel, const QString& path);
    // Writes the object to memory and reads it back into the panel; returns the copy.
    static TGGraphicControl* Duplicate(const TGGraphicControl& object, TGOwner& owner,
                                       TGBasePanel& panel);

    // ---- memory
    // The panel format of the objects: 0x01, one record each, 0x00.
    static QByteArray PanelBytes(const std::vector<const TGGraphicControl*>& objects);
    static QByteArray PanelBytes(const TGBasePanel& panel);
    // One object record.
    static void WriteObject(TLayoutWriter& out, const TGGraphicControl& object);
    // Reads one panel-format list at the reader's position into the panel; returns the objects
    // read (also when it throws, they stay on the panel).
    static std::vector<TGGraphicControl*> ReadPanelList(TLayoutReader& in, TGOwner& owner,
                                                        TGBasePanel& panel, int shift = 0);
    static std::vector<TGGraphicControl*> ReadPanelBytes(const QByteArray& bytes, TGOwner& owner,
                                                         TGBasePanel& panel, int shift = 0);

    // Writes bytes to path, replacing it only when complete.
    static void WriteFile(const QString& path, const QByteArray& bytes);
    // The file's bytes; nothing when it does not exist. Throws TLayoutError(Io) when it exists
    // but cannot be read.
    static std::optional<QByteArray> ReadFile(const QString& path);
};

} // namespace qm::design
