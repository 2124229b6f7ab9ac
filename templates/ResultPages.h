#pragma once
#include "lists/ListTable.h"
#include "templates/AdvSource.h"
#include "templates/ResultTable.h"

#include <string>
#include <vector>

namespace flk {

// Which kinds have results, so a page links only to kinds that have pages.
struct ResultPresence {
    bool images = false;
    bool movies = false;
    bool sounds = false;
    bool text = false;
};

// What one kind's pages are made from, besides its list.
struct ResultPagesRequest {
    ResultKind kind = ResultKind::Images;
    // Where the templates are read and the pages written.
    std::string projectFolder;
    // Where the shipped templates and frame pages are copied from when the
    // project folder lacks them; "" copies nothing.
    std::string programFolder;
    // The "registry.ini" that registry tags read; "" reads none.
    std::string registryFile;
    std::string subject;          // `subject`
    std::string server;           // `trn_server`
    int templateNumber = 2;       // the safety level; clamped to 1..3
    ResultPresence present;
    // Pages that work without the sites: pictures from the project's image
    // cache ("picture"), and the containers named `preview` (a player) only
    // on rows whose format browsers play. Off, every row shows them.
    bool offline = false;
    // Hit lines as a reader sees them ("sample"), these words marked.
    bool readerHitLines = false;
    std::vector<std::string> hitKeywords;
};

// The template number of a safety level: below 1 counts as 1, above 3 as 3.
int ClampTemplateNumber(int level);

// "ImagesTemplate2.htm", "VideoTemplate2.htm", "AudioTemplate2.htm",
// "TextTemplate2.htm" (n clamped).
std::string TemplateFileName(ResultKind kind, int n);
// "ImagesList0.htm", "VideoList0.htm", "AudioList0.htm", "TextList0.htm".
std::string ListPageName(ResultKind kind, long long k);
// "ImagesFrame2.htm", "VideoFrame2.htm", "AudioFrame2.htm", "TextFrame2.htm"
// (n clamped).
std::string FramePageName(ResultKind kind, int n);

// Copies the kind's template and frame page for template number n from the
// program folder into the project folder, each only when the project folder
// lacks it, so a user's edited template is never replaced.
void InstallTemplateFiles(const std::string& projectFolder, const std::string& programFolder, ResultKind kind,
                          int n);

// Writes the numbered list pages of one kind from its template and returns
// the path of the first page ("" when none was written).
//
// The template's "xband" named `demo` shows the rows (selected rows of the
// list, else all); its `rowcount` is the rows per page (10 when 0 or less).
// Pages k = 0, 1, ... are written while k * rowcount < number of rows, so
// every row is on some page and a single row gets one. A template without
// `demo` writes nothing.
//
// Variables on each page: subject, trn_server, page_no (k), disp_page_no
// (k + 1, by the callback of the nodes `pc_up` and `pc_bottom`),
// next_page_no and priv_page_no (set before the page renders, so
// navigation above the list has them too), page_count, row_count,
// first_row and last_row (1-based rows shown on the page), and the values
// the advertisement source publishes into "adv" nodes. The nodes
// img_link_*, video_link_*, audio_link_* and text_link_* (_up, _bottom) are
// enabled for the kinds present. A plain tag named `page_number` inside an
// "xpagecontrol" sets "disp_" + its `pc_name` to that page's number + 1. Every inserted value is HTML-escaped by
// the tags that insert it.
//
// A template that cannot be read gives one list page carrying its error line
// ("ERROR:Cant Open file error no- ..."), and `problem` (when given) says
// so; a template without `demo` also sets `problem`.
std::string GenerateListPages(const ResultPagesRequest& request, const ListTable& list, AdvSource& adv,
                              std::string* problem = nullptr);

}  // namespace flk
