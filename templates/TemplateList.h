#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace flk {

using VariableMap = std::map<std::string, std::string>;

// A table of rows that the list tags of a template walk through. The
// position starts before the first row (-1); Seek(-1) goes back there, so a
// band on its first page can seek to "one before row 0" and step onto row 0.
class TemplateList {
public:
    virtual ~TemplateList() = default;

    // Rows a band may step through after one seek; 0 or less: no limit.
    virtual void SetPageSize(int rows) = 0;
    virtual int RowCount() const = 0;
    // True when the row exists (or is -1); the position is kept otherwise.
    virtual bool Seek(int row) = 0;
    // Moves to the next row; false at the end of the list or of the page.
    virtual bool Next() = 0;
    // The current row, -1 before the first.
    virtual int CurrentRow() const = 0;
    // Cells of the current row; empty text for an unknown column or no row.
    virtual std::string Value(int column) const = 0;
    virtual std::string Value(std::string_view column) const = 0;
    // True for a column whose cells the program made as HTML, already
    // escaped (a hit line with its words marked): "xfield" inserts those as
    // they are. Every other value is escaped on its way into the page.
    virtual bool IsMarkup(int column) const { (void)column; return false; }
    virtual bool IsMarkup(std::string_view column) const { (void)column; return false; }
    // Called each time a node that shows this list starts rendering, so a
    // source may publish values of its own (banner texts and the like).
    virtual void BeforeRender(VariableMap& variables) { (void)variables; }
};

// The plain in-memory form: named columns, rows of text cells.
class TemplateTable : public TemplateList {
public:
    TemplateTable() = default;
    explicit TemplateTable(std::vector<std::string> columns);

    void SetColumns(std::vector<std::string> columns);
    const std::vector<std::string>& Columns() const { return columns_; }
    // Missing cells read as empty text.
    void AddRow(std::vector<std::string> cells);
    void Clear();
    // Column names compare ignoring case; -1 when absent.
    int ColumnIndex(std::string_view name) const;
    // Names the columns whose cells are HTML made by the program.
    void SetMarkupColumns(std::vector<std::string> names);

    void SetPageSize(int rows) override;
    int RowCount() const override;
    bool Seek(int row) override;
    bool Next() override;
    int CurrentRow() const override { return current_; }
    std::string Value(int column) const override;
    std::string Value(std::string_view column) const override;
    bool IsMarkup(int column) const override;
    bool IsMarkup(std::string_view column) const override;

private:
    std::vector<std::string> columns_;
    std::vector<std::string> markup_;
    std::vector<std::vector<std::string>> rows_;
    int pageSize_ = 0;
    int current_ = -1;
    int stepsTaken_ = 0;
};

}  // namespace flk
