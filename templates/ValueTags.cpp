#include "templates/ValueTags.h"

#include "platform/HtmlEscape.h"
#include "platform/ProfileFile.h"
#include "platform/TextUtil.h"
#include "templates/TemplateText.h"

#include <cstdio>
#include <vector>

namespace flk {
namespace {

constexpr const char* kDefaultDateFormat = "%d/%m/%y";
constexpr const char* kDefaultFieldDateFormat = "%m/%d/%Y %H:%M:%S";

bool Has(const VTag& tag, std::string_view name) { return tag.HasAttribute(name); }
std::string Attr(const VTag& tag, std::string_view name) { return tag.GetAttribute(name, ""); }

// A value put into the page: escaped, or URL-encoded inside a band that
// asks for it (the encoded form holds no markup characters either).
std::string Inserted(const RenderContext& ctx, const std::string& value) {
    return ctx.UrlEncode() ? UrlEncode(value) : EscapeHtml(value);
}

// A column of the current row: by number when `colix` is given, else by name.
std::string ColumnValue(const VTag& tag, const TemplateList& list, std::string_view nameAttr) {
    if (Has(tag, "colix")) return list.Value(ParseTemplateNumber(Attr(tag, "colix")));
    return list.Value(std::string_view(Attr(tag, nameAttr)));
}

bool ColumnIsMarkup(const VTag& tag, const TemplateList& list, std::string_view nameAttr) {
    if (Has(tag, "colix")) return list.IsMarkup(ParseTemplateNumber(Attr(tag, "colix")));
    return list.IsMarkup(std::string_view(Attr(tag, nameAttr)));
}

// Cells holding seconds since the epoch or an ISO date; other text is
// written as it is.
std::string FormatDateCell(const std::string& cell, const std::string& format) {
    std::string_view v = Trim(cell);
    std::tm when{};
    bool digits = !v.empty() && v.size() <= 18 && v.find_first_not_of("0123456789") == std::string_view::npos;
    if (digits) {
        std::time_t t = static_cast<std::time_t>(std::stoll(std::string(v)));
        if (!localtime_r(&t, &when)) return cell;
        return FormatTime(format, when);
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    std::string text(v);
    int got = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &y, &mo, &d, &h, &mi, &s);
    if (got < 3 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60 || h < 0 || mi < 0 || s < 0)
        return cell;
    when.tm_year = y - 1900;
    when.tm_mon = mo - 1;
    when.tm_mday = d;
    when.tm_hour = h;
    when.tm_min = mi;
    when.tm_sec = s;
    when.tm_isdst = -1;
    return FormatTime(format, when);
}

// `name` is a key path and a value name: "HKEY_CURRENT_USER\Software\X\Value".
// A path without a hive is taken under HKEY_CURRENT_USER.
std::string RegistryValue(const RenderContext& ctx, const std::string& name, const std::string& kind) {
    std::size_t cut = name.rfind('\\');
    if (cut == std::string::npos || cut == 0 || cut + 1 == name.size()) return {};
    std::string section = name.substr(0, cut);
    std::string key = name.substr(cut + 1);
    if (!StartsWithNoCase(section, "HKEY_")) section = "HKEY_CURRENT_USER\\" + section;
    if (ctx.RegistryFile().empty()) return {};
    ProfileFile store(ctx.RegistryFile());
    if (!store.Exists()) return {};
    if (EqualsNoCase(kind, "dword") || EqualsNoCase(kind, "reg_dword") || EqualsNoCase(kind, "int") ||
        EqualsNoCase(kind, "number"))
        return std::to_string(store.GetInt(section, key, 0));
    return store.GetString(section, key, "");
}

bool IsNumberType(const std::string& fieldType) {
    for (const char* t : {"int", "integer", "number", "numeric", "float", "money", "decimal"})
        if (EqualsNoCase(fieldType, t)) return true;
    return false;
}

// A numeric literal keeps only a sign, digits and one decimal point, so
// nothing from a variable can change the shape of the query.
std::string NumberLiteral(std::string_view v) {
    v = Trim(v);
    std::string out;
    bool dot = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        char c = v[i];
        if (c >= '0' && c <= '9') {
            out += c;
        } else if (c == '-' && i == 0) {
            out += c;
        } else if (c == '.' && !dot) {
            dot = true;
            out += c;
        } else {
            break;
        }
    }
    if (out.empty() || out == "-" || out == "." || out == "-.") return "0";
    return out;
}

std::string QuotedLiteral(std::string_view v) {
    std::string out = "'";
    for (char c : v) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to, bool& changed) {
    changed = false;
    if (from.empty()) return text;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        changed = true;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

}  // namespace

TextTag::TextTag(std::string text) : VTag("TEXT", tagtype::Text, false) { SetAttribute("TEXT", std::move(text)); }

bool TextTag::Produce(RenderContext& ctx) {
    (void)ctx;
    output_ = GetAttribute("TEXT", "");
    return true;
}

FieldTag::FieldTag(std::string tagType) : VTag(std::move(tagType), tagtype::Field, false) {}

bool FieldTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return false;
    const RenderContext* src = Has(*this, "table") ? ctx.NearestOwnedBy(Attr(*this, "table")) : ctx.NearestWithList();
    if (!src || !src->List()) return true;
    std::string value = ColumnValue(*this, *src->List(), "name");
    if (EqualsNoCase(Attr(*this, "format"), "date"))
        value = FormatDateCell(value, GetAttribute("dateformat", kDefaultFieldDateFormat));
    output_ = Inserted(ctx, value);
    return true;
}

SysTag::SysTag(std::string tagType) : VTag(std::move(tagType), tagtype::SysTag, false) {}

bool SysTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return false;
    const std::string type = Attr(*this, "type");
    const std::string name = Attr(*this, "name");
    std::string value;
    if (type == "date") {
        std::time_t now = ctx.Now();
        std::tm when{};
        if (localtime_r(&now, &when)) value = FormatTime(GetAttribute("format", kDefaultDateFormat), when);
    } else if (type == "map") {
        value = ctx.Variable(name);
    } else if (type == "db") {
        if (name == "recno") value = std::to_string(ctx.CurrentRow());
    } else if (type == "registry") {
        value = RegistryValue(ctx, name, Attr(*this, "reg_type"));
    }
    // "servervar": there is no hosting web server, so it stays empty.
    output_ = Inserted(ctx, value);
    return true;
}

SelectTag::SelectTag(std::string tagType) : VTag(std::move(tagType), tagtype::SelectTag, false) {}

bool SelectTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return false;
    std::string current;
    if (Has(*this, "recfield")) {
        const RenderContext* band = ctx.NearestOwnedByType(tagtype::Band);
        if (band && band->List()) current = band->List()->Value(std::string_view(Attr(*this, "recfield")));
    } else if (Has(*this, "mapfield")) {
        current = ctx.Variable(Attr(*this, "mapfield"));
    } else if (Has(*this, "listfield")) {
        const RenderContext* src = ctx.NearestWithList();
        if (src) current = src->List()->Value(std::string_view(Attr(*this, "listfield")));
    } else {
        return true;
    }
    std::string compare = Has(*this, "value") ? Attr(*this, "value")
                          : Has(*this, "key") ? ctx.Variable(Attr(*this, "key"))
                                              : std::string();
    if (EqualsNoCase(TrimRight(current), TrimRight(compare)))
        output_ = EqualsNoCase(Attr(*this, "type"), "radio") ? " checked" : " selected";
    return true;
}

XFieldTag::XFieldTag(std::string tagType) : VTag(std::move(tagType), tagtype::XField, false) {}

bool XFieldTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return false;
    const RenderContext* src = ctx.NearestWithList();
    if (!src && !ctx.Variables()) return false;
    std::string value = src ? ColumnValue(*this, *src->List(), "name") : ctx.Variable(Attr(*this, "name"));
    const bool markup = src && !ctx.UrlEncode() && ColumnIsMarkup(*this, *src->List(), "name");
    output_ = markup ? std::move(value) : Inserted(ctx, value);
    return true;
}

XNextTag::XNextTag(std::string tagType) : VTag(std::move(tagType), tagtype::XNext, false) {}

bool XNextTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return false;
    if (!Has(*this, "bandname")) return false;
    VTag* band = Root()->FindByName(Attr(*this, "bandname"));
    if (!band || band->Type() != tagtype::XBand || !band->Data()) return false;
    return band->Data()->Next();
}

QueryTag::QueryTag(std::string tagType, int cTyp) : VTag(std::move(tagType), cTyp, false) {}

bool QueryTag::Produce(RenderContext& ctx) {
    if (!Answer(&ctx)) return false;
    // Inside a band the text is the band's query, not part of its rows.
    if (ctx.NearestOwnedByType(tagtype::Band)) return true;
    output_ = EscapeHtml(QueryText(ctx));
    return true;
}

std::string QueryTag::ConditionText(const RenderContext& ctx) const {
    std::vector<std::string> conditions;
    if (!Attr(*this, "where").empty()) conditions.push_back(Attr(*this, "where"));

    const std::string field = Attr(*this, "fieldname");
    if (!field.empty()) {
        bool hasValue = Has(*this, "value") || ctx.HasVariable(field);
        std::string value = Has(*this, "value") ? Attr(*this, "value") : ctx.Variable(field);
        std::string filter = ToLowerAscii(Attr(*this, "filtertype"));
        if (hasValue && Has(*this, "replace")) {
            bool changed = false;
            value = ReplaceAll(value, Attr(*this, "replace"), Attr(*this, "replacewith"), changed);
            // A replaced wildcard usually wants another comparison ("like").
            if (changed && Has(*this, "replacecond")) filter = ToLowerAscii(Attr(*this, "replacecond"));
        }
        if (!hasValue || value.empty()) {
            if (Attr(*this, "nulluse") == "true") conditions.push_back(field + " is null");
        } else {
            const bool number = IsNumberType(Attr(*this, "fieldtype"));
            auto literal = [&](std::string_view v) { return number ? NumberLiteral(v) : QuotedLiteral(v); };
            if (filter == "diff") {
                conditions.push_back(field + " <> " + literal(value));
            } else if (filter == "great") {
                conditions.push_back(field + " > " + literal(value));
            } else if (filter == "less") {
                conditions.push_back(field + " < " + literal(value));
            } else if (filter == "like") {
                conditions.push_back(field + " like " + QuotedLiteral(value));
            } else if (filter == "between") {
                std::size_t cut = value.find(';');
                if (cut == std::string::npos)
                    conditions.push_back(field + " >= " + literal(value));
                else
                    conditions.push_back(field + " between " + literal(std::string_view(value).substr(0, cut)) +
                                         " and " + literal(std::string_view(value).substr(cut + 1)));
            } else {
                conditions.push_back(field + " = " + literal(value));
            }
        }
    }
    if (!Attr(*this, "cond").empty()) conditions.push_back(Attr(*this, "cond"));

    std::string joined;
    for (const auto& c : conditions) {
        if (!joined.empty()) joined += " and ";
        joined += c;
    }
    return joined;
}

std::string QueryTag::QueryText(const RenderContext& ctx) const {
    std::string conditions = ConditionText(ctx);
    const std::string table = Attr(*this, "tablename");
    if (table.empty()) return conditions;
    std::string query = Type() == tagtype::SqlGen ? "Select no=count(*) from " + table : "Select * from " + table;
    if (!conditions.empty()) query += " where " + conditions;
    return query;
}

}  // namespace flk
