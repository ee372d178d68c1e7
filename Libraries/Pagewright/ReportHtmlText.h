// An html text element: mark-up (see Glyphora) drawn in its box with the element's font.
#pragma once

#include "Pagewright/ReportElement.h"

class CRichTextRunList;

class CReportHtmlText : public CReportSizedElement {
public:
    CReportHtmlText();
    // The copy has no runs: they belong to one PDF export.
    CReportHtmlText(const CReportHtmlText& other);
    ~CReportHtmlText() override;
    std::unique_ptr<CReportElement> Clone() const override { return std::make_unique<CReportHtmlText>(*this); }
    long long CountDrawn(long long /*limit*/) const override { return 1 + markup.size() / kTextBytesPerElement; }
    bool Load(const TiXmlElement* element) override;
    void Save(TiXmlElement& element) const override;

    // The mark-up with the document's placeholders filled in (no escapes, unlike text elements).
    std::string GetDisplayMarkup() const;

    std::string fontname;
    std::string markup;
    // The runs of the last PDF export; made and used by the PDF writer.
    std::unique_ptr<CRichTextRunList> richText;
};
