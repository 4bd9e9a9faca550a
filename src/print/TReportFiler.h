#pragma once

// The recording job: every page it outputs becomes a page record of a page stream
// (docs/formats/page-stream.md) instead of drawing.
//
// Contract:
// - StreamMode smUser (the program's choice): the caller supplies an open, seekable device with
//   SetStream() before RunJob and owns it; the stream starts at the device's position. smMemory
//   keeps an internal buffer (Stream() hands it out); smFile writes FileName; smTempFile a
//   temporary file.
// - Drawing state is written in full after every page record and afterwards only when a value
//   differs from the last one written. Texts longer than 255 bytes are split into consecutive
//   text commands; every piece after the first carries x = NaN, meaning "where the previous text
//   ended", so replay draws them as one line.
// - Text is measured at the selected printer's resolution; with no printer at 96 DPI with device
//   "Preview Only", driver "Preview Only" and port "Preview".

#include "print/TBaseReport.h"
#include "print/TTextMeasure.h"

#include <QBuffer>
#include <memory>

class QIODevice;

namespace qm::print {

class TPageStreamWriter;

class TReportFiler : public TBaseReport {
public:
    TReportFiler();
    ~TReportFiler() override;

    TStreamMode StreamMode() const { return mStreamMode; }
    void SetStreamMode(TStreamMode mode)
    {
        RequireIdle();
        mStreamMode = mode;
    }
    void SetStream(QIODevice* stream)
    {
        RequireIdle();
        mStream = stream;
    }
    QIODevice* Stream() const;
    const QString& FileName() const { return mFileName; }
    void SetFileName(const QString& name)
    {
        RequireIdle();
        mFileName = name;
    }
    TAccuracyMethod AccuracyMethod() const { return mAccuracy; }
    void SetAccuracyMethod(TAccuracyMethod method) { mAccuracy = method; }
    // Lines that the macros 15 and above stand for on replay are kept by the replay side.

    // Number of pages recorded by the last job.
    int PagesRecorded() const { return mPagesRecorded; }

    QString DeviceName() const override;
    QString DriverName() const override;
    QString Port() const override;

    void CopyRect(const QRect& destination, const QImage& source, const QRect& sourceRect) override;

protected:
    TPageGeometry ReadGeometry() override;
    void StartOutput() override;
    void EndOutput(bool aborted) override;
    void StartPage() override;
    void EndPage() override;
    double MeasureText(const QByteArray& text) override;
    void MeasureFont(double& ascent, double& descent) override;
    void OutText(TTextAlign align, double x, double y, const QByteArray& text) override;
    void OutTextBlock(double x, double y, double width, const QByteArray& text) override;
    void OutTextRect(const QRectF& clip, double x, double y, const QByteArray& text) override;
    void OutShape(TShape shape, const QRectF& rect, double cw, double ch) override;
    void OutMoveTo(QPointF p) override;
    void OutLineTo(QPointF p) override;
    void OutPolygon(const std::vector<QPointF>& points, bool closed) override;
    void OutBitmap(const QRectF& rect, const QImage& image) override;
    void OutGraphic(const QRectF& rect, const QImage& image) override;

private:
    struct TWritten; // the drawing state last written to the stream

    TPainterFont MeasureFontState() const;
    void WriteFullState();
    void SyncBrush();
    void SyncFont();
    void SyncPen();
    void SyncOther();
    void SyncLineMetrics();
    void WriteFontSize();

    TStreamMode mStreamMode = TStreamMode::smUser;
    QIODevice* mStream = nullptr;
    std::unique_ptr<QIODevice> mOwnedStream;
    QString mFileName;
    TAccuracyMethod mAccuracy = TAccuracyMethod::amPositioning;

    std::unique_ptr<TPageStreamWriter> mWriter;
    std::unique_ptr<TWritten> mWritten;
    TTextMeasure mMeasure;
    std::int64_t mHeaderPos = 0;
    std::int64_t mPrevPage = 0; // position of the previous page record, 0 for none
    std::int64_t mCurrentPage = 0;
    std::int64_t mLastPage = -1; // position of the last finished page record
    int mPagesRecorded = 0;
};

} // namespace qm::print
