// The Intelligent Mail side of a print job: one serial per piece from the counter, skipped pieces
// counted with their reason, the counter starting again at 0 with a warning, the settings section
// and what is written back.

#include "design/objects/TImbJob.h"

#include "TShapeFixture.h"
#include "TTestHome.h"
#include "data/TSettingsFile.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TImbSettings.h"
#include "print/TBaseReport.h"

namespace qm::design {
namespace {

class TImbJobTest : public test::TTextObjectFixture {
protected:
    TGIMBarCode* AddCode(const QString& mailerId, TImbSerialSource source)
    {
        auto* code = Add(std::make_unique<TGIMBarCode>());
        TImbSettings parts;
        parts.serviceType = QStringLiteral("300");
        parts.mailerId = mailerId;
        code->ConfigureDrawn(parts);
        code->SetSerialSource(source);
        return code;
    }

    // Prints one piece per ZIP (a record each) through the job; the serials each barcode got.
    std::vector<std::int64_t> PrintPieces(TImbJob& job, const QStringList& zips,
                                          TGIMBarCode* watched)
    {
        std::vector<std::int64_t> serials;
        test::Record([&](print::TBaseReport& r) {
            for (const QString& zip : zips) {
                AddRecord({{"ZIP", zip}, {"STREET", "10 ELM"}});
                job.BeginPiece(mPanel);
                serials.push_back(watched->PieceSerial().value_or(-1));
                PrintItem(r);
                job.EndPiece(mPanel);
            }
        });
        return serials;
    }
};

TEST_F(TImbJobTest, CounterGivesEachPrintedPieceTheNextNumberAndSkippedPiecesNone)
{
    auto* code = AddCode(QStringLiteral("123456"), TImbSerialSource::ssCounter);
    TImbJob job(41);
    const auto serials = PrintPieces(job, {"62704", "1234", "62704", "BAD", "97301"}, code);
    EXPECT_EQ(serials, (std::vector<std::int64_t>{41, 42, 42, 43, 43}));
    EXPECT_EQ(job.Pieces(), 5);
    EXPECT_EQ(job.SkippedPieces(), 2);
    EXPECT_EQ(job.NextSerial(), 44);
    EXPECT_TRUE(job.CounterMoved());
    ASSERT_EQ(job.Notes().size(), 1);
    EXPECT_EQ(job.Notes()[0], "2 pieces skipped without a barcode, the first: ZIP \"1234\" gives "
                              "no valid routing code");
    EXPECT_EQ(job.StatusText(), "\r" + job.Notes()[0]);
}

TEST_F(TImbJobTest, TwoCountedBarcodesOnOnePieceShareItsNumber)
{
    auto* first = AddCode(QStringLiteral("123456"), TImbSerialSource::ssCounter);
    auto* second = AddCode(QStringLiteral("123456"), TImbSerialSource::ssCounter);
    TImbJob job(7);
    PrintPieces(job, {"62704"}, first);
    EXPECT_EQ(first->LastOutcome(), TGIMBarCode::TOutcome::Printed);
    EXPECT_EQ(second->LastOutcome(), TGIMBarCode::TOutcome::Printed);
    EXPECT_EQ(job.NextSerial(), 8);
}

TEST_F(TImbJobTest, RecordNumbersLeaveTheCounterAndTheSettingsAlone)
{
    qm::test::TTestHome home;
    data::TSettingsFile settings(home.Home().SettingsPath());
    auto* code = AddCode(QStringLiteral("123456"), TImbSerialSource::ssRecordNumber);
    TImbJob job(500);
    const auto serials = PrintPieces(job, {"62704", "62704"}, code);
    EXPECT_EQ(serials, (std::vector<std::int64_t>{-1, -1})); // no counter serial handed out
    EXPECT_EQ(code->RecordNumber(), 2u);
    EXPECT_EQ(job.SkippedPieces(), 0);
    EXPECT_FALSE(job.CounterMoved());
    job.WriteBack(settings);
    EXPECT_FALSE(settings.HasKey("Intelligent Mail", "NextSerial"));
}

TEST_F(TImbJobTest, SerialTooWideStartsAgainAtZeroWithAWarning)
{
    // A nine-digit mailer identifier leaves six digits: 999999 is the last serial.
    auto* code = AddCode(QStringLiteral("901234567"), TImbSerialSource::ssCounter);
    TImbJob job(999999);
    const auto serials = PrintPieces(job, {"62704", "62704", "62704"}, code);
    EXPECT_EQ(serials, (std::vector<std::int64_t>{999999, 0, 1}));
    EXPECT_TRUE(job.Wrapped());
    EXPECT_EQ(job.SkippedPieces(), 0);
    ASSERT_EQ(job.Notes().size(), 1);
    EXPECT_EQ(job.Notes()[0], "Warning: serial number 1000000 does not fit 6 digits; the counter "
                              "started again at 0");
    // A stored number already too wide wraps before the first piece.
    TImbJob late(5000000);
    EXPECT_EQ(PrintPieces(late, {"62704"}, code), (std::vector<std::int64_t>{0}));
    EXPECT_TRUE(late.Wrapped());
}

TEST_F(TImbJobTest, WritesNextSerialBackOnlyWhenTheCounterMoved)
{
    qm::test::TTestHome home;
    data::TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "NextSerial", "10");
    auto* code = AddCode(QStringLiteral("123456"), TImbSerialSource::ssCounter);

    TImbJob allSkipped(10);
    PrintPieces(allSkipped, {"nope"}, code);
    allSkipped.WriteBack(settings);
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "NextSerial"), "10");

    TImbJob job(TImbSettings::Read(settings).nextSerial);
    PrintPieces(job, {"62704", "62704", "62704"}, code);
    job.WriteBack(settings);
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "NextSerial"), "13");
    EXPECT_EQ(TImbSettings::Read(settings).nextSerial, 13);
}

TEST_F(TImbJobTest, PanelWithoutBarcodesCountsNothing)
{
    TImbJob job(3);
    test::Record([&](print::TBaseReport& r) {
        job.BeginPiece(mPanel);
        PrintItem(r);
        job.EndPiece(mPanel);
    });
    EXPECT_EQ(job.Pieces(), 0);
    EXPECT_TRUE(job.Notes().isEmpty());
    EXPECT_FALSE(job.CounterMoved());
}

TEST(TImbSettingsTest, ReadsDefaultsWritesEverythingAndNamesTheBadValue)
{
    qm::test::TTestHome home;
    data::TSettingsFile settings(home.Home().SettingsPath());
    const TImbSettings defaults = TImbSettings::Read(settings);
    EXPECT_EQ(defaults.barcodeId, "00");
    EXPECT_EQ(defaults.nextSerial, 0);

    TImbSettings s;
    s.barcodeId = QStringLiteral("00");
    s.serviceType = QStringLiteral("040");
    s.mailerId = QStringLiteral("012345");
    s.nextSerial = 123456789;
    EXPECT_TRUE(s.Problem().isEmpty()) << s.Problem().toStdString();
    s.Write(settings);
    EXPECT_EQ(TImbSettings::Read(settings), s);
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "ServiceType"), "040");

    // A hand-edited counter that is not a number reads as 0, never as garbage.
    settings.WriteString("Intelligent Mail", "NextSerial", "12x");
    EXPECT_EQ(TImbSettings::Read(settings).nextSerial, 0);

    TImbSettings bad = s;
    bad.mailerId = QStringLiteral("12345");
    EXPECT_TRUE(bad.Problem().contains("12345")) << bad.Problem().toStdString();
    bad = s;
    bad.serviceType = QStringLiteral("4O0");
    EXPECT_TRUE(bad.Problem().contains("4O0")) << bad.Problem().toStdString();

    EXPECT_TRUE(TImbSettings::NextSerialProblem("999999", "901234567").isEmpty());
    const QString tooWide = TImbSettings::NextSerialProblem("1000000", "901234567");
    EXPECT_TRUE(tooWide.contains("1000000") && tooWide.contains("6 digits"))
        << tooWide.toStdString();
    EXPECT_TRUE(TImbSettings::NextSerialProblem("-1", "123456").contains("\"-1\""));
    EXPECT_TRUE(TImbSettings::NextSerialProblem("1234567890", "123456").contains("1234567890"));
    EXPECT_EQ(TImbSettings::ParseSerial(" 42 "), 42);
    EXPECT_EQ(TImbSettings::ParseSerial(""), -1);
}

} // namespace
} // namespace qm::design
