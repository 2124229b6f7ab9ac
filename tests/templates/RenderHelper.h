#pragma once
#include "templates/VTemplate.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace flk::test {

// A table with one column per name and one row per line of cells.
inline TemplateTable MakeTable(std::vector<std::string> columns, std::vector<std::vector<std::string>> rows) {
    TemplateTable table(std::move(columns));
    for (auto& row : rows) table.AddRow(std::move(row));
    return table;
}

// Rows "r0", "r1", ... in a column "Name".
inline TemplateTable NumberedRows(int count) {
    TemplateTable table({"Name"});
    for (int i = 0; i < count; ++i) table.AddRow({"r" + std::to_string(i)});
    return table;
}

// Parses and renders once; `setup` may attach lists and callbacks first.
inline std::string Render(std::string_view text, VariableMap& vars,
                          const std::function<void(VTemplate&)>& setup = {}) {
    VTemplate tpl;
    tpl.ParseText(text);
    if (setup) setup(tpl);
    RenderContext ctx(&vars);
    return tpl.Render(ctx);
}

inline std::string Render(std::string_view text) {
    VariableMap vars;
    return Render(text, vars);
}

}  // namespace flk::test
