// Report templates that ask for more drawing than a document may have, as someone who may edit
// a template could write them.
#pragma once

#include <string>

// pages pages 10 m high, each a table of 1-unit rows whose cells show a text of font "F" (of
// the typeface): 100000 cells a page.
std::string TallTablePagesReport(int pages, const std::string& typeface);

// One page with tables nested levels deep, each in the one column of the level above:
// <table height='2970' rowheight='1'><column width='1000'>, so each row of a level holds the
// next, nearly 3000 times at the top.
std::string NestedTablesReport(int levels);
