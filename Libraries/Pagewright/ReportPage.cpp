#include "Pagewright/ReportPage.h"

#include "Pagewright/Report.h"
#include "Pagewright/ReportElementFactory.h"
#include "Pagewright/ReportTable.h"
#include "Platform/AsciiText.h"
#include "Quillet/LogLevel.h"
#include "Quillet/LogManager.h"

#include <tinyxml.h>

#include <algorithm>

namespace {

// A size the page can be drawn with; the default where the template gives none.
void ReadPageSize(const TiXmlElement& element, const char* name, int fallback, int& size)
{
    const char* text = element.Attribute(name);
    const int value = Pagewright::ParseCoordinate(text);
    if (value > 0) {
        size = value;
        return;
    }
    size = fallback;
    if (CLogManager* logs = CLogManager::GetInstance()) {
        CLogger log = logs->GetLogger("CReportPage", LOGLEVEL_PARENT);
        QUILLET_POS(log);
        log.Warn("Report page without a usable %s (%s), using %d", name, text != nullptr ? text : "missing",
                 fallback);
    }
}

}  // namespace

CReportPage::CReportPage(CReport* document_) : CReportObject("page"), document(document_) {}

CReportPage::CReportPage(const CReportPage& other)
    : CReportObject(other),
      document(other.document),
      width(other.width),
      height(other.height),
      orientation(other.orientation),
      leftBorder(other.leftBorder),
      topBorder(other.topBorder),
      backgroundColor(other.backgroundColor)
{
    for (const auto& element : other.elements) {
        elements.push_back(element->Clone());
        elements.back()->SetOwner(this);
    }
}

CReportPage::~CReportPage() = default;

void CReportPage::Reset()
{
    elements.clear();
    width = kDefaultWidth;
    height = kDefaultHeight;
    orientation = kPortrait;
    leftBorder = 0;
    topBorder = 0;
    backgroundColor = 0xFFFFFF;
}

bool CReportPage::Load(const TiXmlElement* element)
{
    Reset();
    if (!CReportObject::Load(element))
        return false;
    ReadPageSize(*element, "width", kDefaultWidth, width);
    ReadPageSize(*element, "height", kDefaultHeight, height);
    orientation = Platform::EqualsNoCase(Pagewright::AttributeText(*element, "orientation"), "LANDSCAPE") ? kLandscape
                                                                                                       : kPortrait;
    const std::string background = Pagewright::AttributeText(*element, "backgroundcolor");
    backgroundColor = background.empty() ? 0xFFFFFF : Pagewright::ParseReportColor(background);
    leftBorder = Pagewright::CoordinateAttribute(*element, "leftborder");
    topBorder = Pagewright::CoordinateAttribute(*element, "topborder");
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        if (std::unique_ptr<CReportElement> made = CreateReportElement(child, this))
            elements.push_back(std::move(made));
    }
    return true;
}

void CReportPage::Save(TiXmlElement& element) const
{
    CReportObject::Save(element);
    element.SetAttribute("width", width);
    element.SetAttribute("height", height);
    element.SetAttribute("orientation", orientation == kLandscape ? "LANDSCAPE" : "PORTRAIT");
    element.SetAttribute("backgroundcolor", Pagewright::FormatReportColor(backgroundColor, true));
    element.SetAttribute("leftborder", leftBorder);
    element.SetAttribute("topborder", topBorder);
    for (const auto& child : elements)
        child->AppendTo(element);
}

int CReportPage::GetOutputPageCount() const
{
    if (document == nullptr)
        return 1;
    int count = 1;
    for (const auto& element : elements) {
        const auto* table = dynamic_cast<const CReportTable*>(element.get());
        // A table too low for one row is laid out on one page, like a table that is not multipage.
        if (table == nullptr || !table->IsPaginated())
            continue;
        const int rowsPerPage = table->GetRowsPerPage();
        for (const auto& column : table->columns) {
            const int rows = document->GetRowCount(CReportColumn::GetRowCountKey(table->name, column->name));
            if (rows > 0)
                count = std::max(count, (rows - 1) / rowsPerPage + 1);
        }
    }
    return count;
}

long long CReportPage::CountDrawn(long long limit) const
{
    long long count = 0;
    for (const auto& element : elements) {
        count += element->CountDrawn(limit - count);
        if (count > limit)
            break;
    }
    return count;
}

void CReportPage::SetSubPage(int subPage)
{
    for (const auto& element : elements) {
        if (auto* table = dynamic_cast<CReportTable*>(element.get()); table != nullptr && table->IsPaginated())
            table->firstRow = subPage * table->GetRowsPerPage();
    }
}
