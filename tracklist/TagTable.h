#pragma once
#include <string>
#include <vector>

// Rows of cells as tab-separated text, the way spreadsheets copy and paste them.

// A header line, then one line per row; every line ends in CR LF.
std::string WriteTagTable(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows);

enum class TableProblem { NONE, LINE_COUNT, TOO_MANY_COLUMNS };

struct TagTable
{
    std::vector<int> columns;                   // the heading index of each column (-1: unknown)
    std::vector<std::vector<std::string>> rows; // the cells of each line after the header
    TableProblem problem = TableProblem::NONE;
    size_t lineCount = 0;                       // lines of cells, the header not counted
    size_t badLine = 0;                         // 1-based, for TOO_MANY_COLUMNS
};

// Reads pasted text for rowCount rows. A first line whose cells are all headings (letter case
// ignored) is the header and gives the column order; without one the columns are in the
// headings' order. Lines end in CR LF or LF; empty lines at the end do not count.
TagTable ReadTagTable(const std::string& text, const std::vector<std::string>& headings, size_t rowCount);
