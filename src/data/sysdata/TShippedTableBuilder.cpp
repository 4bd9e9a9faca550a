#include "data/sysdata/TShippedTableBuilder.h"

#include "data/TWin1252.h"
#include "data/sysdata/TSysDataCsv.h"
#include "data/sysdata/TSysDataError.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QString>
#include <charconv>
#include <filesystem>
#include <optional>
#include <system_error>

namespace qm::data::sysdata {
namespace {

namespace fs = std::filesystem;
using xbase::TFieldDef;
using xbase::TFieldType;

struct TCell {
    std::string text;  // Windows-1252 bytes of a character field
    double number = 0; // numeric field
    bool logical = false;
};

std::string CharacterName(QChar c)
{
    return "'" + QString(c).toStdString() + "' (U+" +
           QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0').toStdString() + ")";
}

TCell CharacterCell(const TFieldDef& field, const std::string& cell, const std::string& file,
                    int line)
{
    QChar bad;
    const std::optional<QByteArray> bytes = TWin1252::Encode(QString::fromUtf8(cell), &bad);
    if (!bytes)
        throw TSysDataError(file, line, field.name,
                            "the character " + CharacterName(bad) + " has no Windows-1252 code");
    for (char c : *bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            throw TSysDataError(file, line, field.name, "a control character is not allowed");
    if (bytes->size() > field.length)
        throw TSysDataError(file, line, field.name,
                            std::to_string(bytes->size()) + " characters, the column holds " +
                                std::to_string(field.length));
    return TCell{bytes->toStdString()};
}

TCell NumericCell(const TFieldDef& field, const std::string& cell, const std::string& file,
                  int line)
{
    // Sign, integer digits, optional decimals: nothing else, so that what is stored is exactly
    // what the source says.
    std::size_t i = 0;
    const bool negative = !cell.empty() && cell[0] == '-';
    if (negative)
        ++i;
    const std::size_t intStart = i;
    while (i < cell.size() && cell[i] >= '0' && cell[i] <= '9')
        ++i;
    std::size_t intDigits = i - intStart;
    std::size_t decimals = 0;
    if (i < cell.size() && cell[i] == '.') {
        const std::size_t decStart = ++i;
        while (i < cell.size() && cell[i] >= '0' && cell[i] <= '9')
            ++i;
        decimals = i - decStart;
        if (decimals == 0)
            intDigits = 0; // "1." is refused below
    }
    if (intDigits == 0 || i != cell.size())
        throw TSysDataError(file, line, field.name,
                            cell.empty() ? "the cell is empty; a number is needed"
                                         : "\"" + cell + "\" is not a plain decimal number");
    if (static_cast<int>(decimals) > field.decimals)
        throw TSysDataError(file, line, field.name,
                            "\"" + cell + "\" has " + std::to_string(decimals) +
                                " decimals, the column holds " + std::to_string(field.decimals));

    // Width as the field will show it: leading zeros dropped, the field's decimals.
    std::size_t firstDigit = intStart;
    while (firstDigit + 1 < intStart + intDigits && cell[firstDigit] == '0')
        ++firstDigit;
    const std::size_t shownInt = intStart + intDigits - firstDigit;
    const std::size_t width =
        (negative ? 1 : 0) + shownInt +
        (field.decimals > 0 ? 1 + static_cast<std::size_t>(field.decimals) : 0);
    if (width > static_cast<std::size_t>(field.length))
        throw TSysDataError(file, line, field.name,
                            "\"" + cell + "\" does not fit the column's " +
                                std::to_string(field.length) + " characters");

    TCell result;
    const auto [end, error] =
        std::from_chars(cell.data(), cell.data() + cell.size(), result.number);
    if (error != std::errc() || end != cell.data() + cell.size())
        throw TSysDataError(file, line, field.name, "\"" + cell + "\" is not a number");
    return result;
}

TCell LogicalCell(const TFieldDef& field, const std::string& cell, const std::string& file,
                  int line)
{
    if (cell.size() == 1) {
        switch (cell[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            return TCell{{}, 0, true};
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            return TCell{{}, 0, false};
        default:
            break;
        }
    }
    throw TSysDataError(file, line, field.name, "\"" + cell + "\" is not T or F");
}

TCell ConvertCell(const TFieldDef& field, const std::string& cell, const std::string& file,
                  int line)
{
    switch (field.type) {
    case TFieldType::Character:
        return CharacterCell(field, cell, file, line);
    case TFieldType::Numeric:
        return NumericCell(field, cell, file, line);
    case TFieldType::Logical:
        return LogicalCell(field, cell, file, line);
    default:
        throw TSysDataError(file, line, field.name, "the field type cannot be filled from text");
    }
}

void WriteTable(const TShippedTableSchema& schema, const std::vector<std::vector<TCell>>& rows,
                const fs::path& path)
{
    auto table = xbase::TTable::Create(path.string(), schema.fields);
    for (const auto& row : rows) {
        table->AppendBlank();
        for (std::size_t f = 0; f < schema.fields.size(); ++f) {
            const int field = static_cast<int>(f);
            switch (schema.fields[f].type) {
            case TFieldType::Character:
                table->PutString(field, row[f].text);
                break;
            case TFieldType::Numeric:
                table->PutNumeric(field, row[f].number);
                break;
            case TFieldType::Logical:
                table->PutLogical(field, row[f].logical);
                break;
            default:
                break;
            }
        }
        table->Post();
    }
    table->AddTag(schema.tag, schema.tagExpression);
    table->Close();
}

} // namespace

uint32_t TShippedTableBuilder::Build(const TShippedTableSchema& schema, const std::string& csvPath,
                                     const std::string& outDir)
{
    const TSysDataCsv csv = TSysDataCsv::Read(csvPath);

    std::vector<int> columnOf;
    for (const TFieldDef& field : schema.fields) {
        const int column = csv.ColumnIndex(field.name);
        if (column < 0)
            throw TSysDataError(csvPath, 1, field.name, "the header has no such column");
        columnOf.push_back(column);
    }

    std::vector<std::vector<TCell>> rows;
    rows.reserve(csv.Records().size());
    for (const TSysDataCsvRecord& record : csv.Records()) {
        std::vector<TCell> row;
        for (std::size_t f = 0; f < schema.fields.size(); ++f)
            row.push_back(
                ConvertCell(schema.fields[f], record.fields[columnOf[f]], csvPath, record.line));
        rows.push_back(std::move(row));
    }

    const fs::path dir(outDir);
    const fs::path work = dir / ("." + schema.name + ".building");
    const std::string dbfName = schema.name + ".DBF";
    const std::string cdxName = schema.name + ".CDX";
    std::error_code ignored;
    try {
        fs::remove_all(work);
        fs::create_directory(work);
        WriteTable(schema, rows, work / dbfName);
        fs::remove(dir / dbfName);
        fs::rename(work / cdxName, dir / cdxName);
        fs::rename(work / dbfName, dir / dbfName);
        fs::remove_all(work);
    } catch (const xbase::TXbaseError& error) {
        fs::remove_all(work, ignored);
        throw TSysDataError(error.File().empty() ? csvPath : error.File(), 0, {}, error.Message());
    } catch (const fs::filesystem_error& error) {
        fs::remove_all(work, ignored);
        throw TSysDataError(error.path1().string(), 0, {}, error.code().message());
    }
    return static_cast<uint32_t>(rows.size());
}

} // namespace qm::data::sysdata
