#pragma once
#include "templates/VTag.h"

#include <string>

namespace flk {

// Literal text between tags (type "TEXT", the text in attribute "TEXT").
class TextTag : public VTag {
public:
    explicit TextTag(std::string text);
    bool Produce(RenderContext& ctx) override;
};

// "field": a column of the current row of a band's list; `table` picks the
// enclosing band by name. With `format` "date" the cell (seconds since the
// epoch, or "YYYY-MM-DD[ HH:MM[:SS]]") is written with `dateformat`.
class FieldTag : public VTag {
public:
    explicit FieldTag(std::string tagType);
    bool Produce(RenderContext& ctx) override;
};

// "systag": the date, a variable, the row number or a registry value.
class SysTag : public VTag {
public:
    explicit SysTag(std::string tagType);
    bool Produce(RenderContext& ctx) override;
};

// "selecttag": " checked" or " selected" when the current value equals
// the compare value. The current value comes from `recfield` (a column of
// the enclosing band's row), else `mapfield` (a variable), else `listfield`
// (a column of the current list's row); the compare value is `value`, else
// the variable named by `key`.
class SelectTag : public VTag {
public:
    explicit SelectTag(std::string tagType);
    bool Produce(RenderContext& ctx) override;
};

// "xfield": a column of the current row of the current list, by `colix`
// (0-based) or by `name`; without a list, the variable `name`.
class XFieldTag : public VTag {
public:
    explicit XFieldTag(std::string tagType);
    bool Produce(RenderContext& ctx) override;
};

// "xnext": steps the list of the "xband" named by `bandname`.
class XNextTag : public VTag {
public:
    explicit XNextTag(std::string tagType);
    bool Produce(RenderContext& ctx) override;
};

// "sqlgen" (a counting query) and "sqltag" (a row query). No database is
// attached, so they only produce text: on the page, or, inside a "band",
// as the band's query.
class QueryTag : public VTag {
public:
    QueryTag(std::string tagType, int cTyp);
    bool Produce(RenderContext& ctx) override;
    // The query text for the context's variables (not escaped).
    std::string QueryText(const RenderContext& ctx) const;

private:
    std::string ConditionText(const RenderContext& ctx) const;
};

}  // namespace flk
