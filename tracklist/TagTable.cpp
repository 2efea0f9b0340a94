#include "TagTable.h"

#include <algorithm>
#include <cctype>

namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

int HeadingIndex(const std::string& cell, const std::vector<std::string>& headings)
{
    for (size_t i = 0; i < headings.size(); ++i) {
        if (SameIgnoringCase(cell, headings[i]))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

std::string WriteTagTable(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows)
{
    std::string text;
    const auto line = [&text](const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i)
            text += (i ? "\t" : "") + cells[i];
        text += "\r\n";
    };
    line(headings);
    for (const auto& row : rows)
        line(row);
    return text;
}

TagTable ReadTagTable(const std::string& text, const std::vector<std::string>& headings, size_t rowCount)
{
    TagTable table;
    std::vector<std::string> lines = Split(text, '\n');
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();

    size_t first = 0;
    if (!lines.empty()) {
        const std::vector<std::string> cells = Split(lines[0], '\t');
        const bool header = std::all_of(cells.begin(), cells.end(),
                                        [&](const std::string& cell) { return HeadingIndex(cell, headings) >= 0; });
        if (header) {
            for (const std::string& cell : cells)
                table.columns.push_back(HeadingIndex(cell, headings));
            first = 1;
        }
    }
    if (table.columns.empty()) {
        for (size_t i = 0; i < headings.size(); ++i)
            table.columns.push_back(static_cast<int>(i));
    }
    table.lineCount = lines.size() - first;
    if (table.lineCount != rowCount) {
        table.problem = TableProblem::LINE_COUNT;
        return table;
    }
    for (size_t i = first; i < lines.size(); ++i) {
        std::vector<std::string> cells = Split(lines[i], '\t');
        if (cells.size() > table.columns.size()) {
            table.problem = TableProblem::TOO_MANY_COLUMNS;
            table.badLine = i + 1;
            table.rows.clear();
            return table;
        }
        table.rows.push_back(std::move(cells));
    }
    return table;
}
