#pragma once

// The letter source of a print run or preview: the template as a rich document, copied for each
// record and merged with the record's texts, then drawn at real size page by page.

#include "letters/TLetterSource.h"
#include "letters/TMergeTexts.h"
#include "richtext/TRichDocument.h"

#include <functional>

namespace qm::letters {

class TRichLetterSource : public TLetterSource {
public:
    // The merge texts of the record the run stands on.
    using TTexts = std::function<TMergeTexts()>;

    // The template is not owned and must outlive the source.
    TRichLetterSource(const richtext::TRichDocument& letterTemplate, TTexts texts)
        : mTemplate(letterTemplate), mTexts(std::move(texts))
    {
    }

    void MergeCurrent() override;
    int DrawPage(QPainter& painter, const QRect& rect, int start) override;

    // The merged copy (after MergeCurrent).
    const richtext::TRichDocument& Letter() const { return mLetter; }

private:
    const richtext::TRichDocument& mTemplate;
    TTexts mTexts;
    richtext::TRichDocument mLetter;
};

} // namespace qm::letters
