// Fuzz target for the expression compiler and evaluator. Input: expression text, optionally
// followed by a zero byte and the bytes of a record to evaluate it on (padded or cut to the
// record length of the fixed field list below).

#include "xbase/TEngineSettings.h"
#include "xbase/TExpression.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace qm::xbase;

namespace {

const TFieldList& Fields()
{
    static const TFieldList fields = {
        {"LNAME", TFieldType::Character, 30, 0, 1}, {"FNAME", TFieldType::Character, 20, 0, 31},
        {"ISDEL", TFieldType::Logical, 1, 0, 51},   {"AMOUNT", TFieldType::Numeric, 10, 2, 52},
        {"BORN", TFieldType::Date, 8, 0, 62},       {"MEMO", TFieldType::Memo, 10, 0, 70},
        {"COUNT", TFieldType::Integer, 4, 0, 80},   {"PRICE", TFieldType::Currency, 8, 4, 84},
        {"RATE", TFieldType::Double, 8, 0, 92},     {"STAMP", TFieldType::DateTime, 8, 0, 100},
    };
    return fields;
}

constexpr size_t kRecordLength = 108;

void Evaluate(const TExpression& e, const TRecordView& r)
{
    std::string key;
    e.EvalKey(r, key);
    if (e.Type() == TValueType::Character && key.size() != size_t(e.Width()))
        std::abort();
    switch (e.Type()) {
    case TValueType::Logical:
        e.EvalLogical(r);
        break;
    case TValueType::Numeric:
        e.EvalNumeric(r);
        break;
    case TValueType::Character:
    case TValueType::Date:
        if (e.EvalCharacter(r).size() > size_t(e.Width()) && e.Type() == TValueType::Character)
            std::abort();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view text = input.substr(0, split);
    std::string record(kRecordLength, ' ');
    if (split != std::string_view::npos)
        record.replace(0, std::min(kRecordLength, input.size() - split - 1),
                       input.substr(split + 1, kRecordLength));
    try {
        const TExpression e = TExpression::Compile(text, Fields());
        const TRecordView view{record, 3};
        Evaluate(e, view);
        TSettingScope exact(&TEngineSettings::exact, true);
        Evaluate(e, view);
    } catch (const TXbaseError&) {
    }
    return 0;
}
