#include "support/LargeReports.h"

std::string TallTablePagesReport(int pages, const std::string& typeface)
{
    std::string text = "<report>";
    for (int i = 0; i < pages; ++i)
        text += "<page height='100000'><table width='2100' height='100000' rowheight='1' name='T'>"
                "<column width='2100' name='C'><text fontname='F'>$COLUMN_VARIABLE</text></column></table></page>";
    return text + "<font fontname='F' typeface='" + typeface + "' fontsize='30'/></report>";
}

std::string NestedTablesReport(int levels)
{
    std::string text = "<report><page>";
    for (int i = 0; i < levels; ++i)
        text += "<table height='2970' rowheight='1'><column width='1000'>";
    for (int i = 0; i < levels; ++i)
        text += "</column></table>";
    return text + "</page></report>";
}
