// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/headless/HeadlessView.h"

#include "text/Cp932.h"
#include "toolkit/DataExchange.h"

namespace kv {

HeadlessView::HeadlessView(const DialogTemplate& dialogTemplate) : tmpl(dialogTemplate)
{
    for (const ControlTemplate& c : tmpl.controls) {
        if (c.id == IDC_STATIC)
            continue;
        Control& control = controls[c.id];
        control.kind = c.kind;
        control.isEnabled = (c.style & StyleDisabled) == 0;
        control.text = c.caption;
        control.page = c.kind == ControlKind::TabBar ? 0 : c.page;
        if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::ListBox) {
            control.ownRows = std::make_unique<ComboBox>();
            for (const std::string& item : c.items)
                control.ownRows->append(item);
            control.rows = control.ownRows.get();
        }
    }
}

std::string HeadlessView::text(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? std::string() : it->second.text;
}

void HeadlessView::setText(int id, const std::string& text)
{
    auto it = controls.find(id);
    if (it != controls.end())
        it->second.text = text;
}

bool HeadlessView::checked(int id) const
{
    auto it = controls.find(id);
    return it != controls.end() && it->second.on;
}

void HeadlessView::setChecked(int id, bool on)
{
    auto it = controls.find(id);
    if (it != controls.end())
        it->second.on = on;
}

void HeadlessView::bindList(int id, ListBox& rows)
{
    auto it = controls.find(id);
    if (it == controls.end() || it->second.rows == &rows)
        return;
    if (it->second.ownRows)  // the first binding
        takeTemplateItems(*tmpl.control(id), rows);
    it->second.rows = &rows;
    it->second.ownRows.reset();
}

void HeadlessView::bindChart(int id, Chart& chart)
{
    auto it = controls.find(id);
    if (it != controls.end() && it->second.kind == ControlKind::Chart)
        it->second.chart = &chart;
}

void HeadlessView::bindTable(int id, Table& table)
{
    auto it = controls.find(id);
    if (it != controls.end() && it->second.kind == ControlKind::Table)
        it->second.table = &table;
}

void HeadlessView::bindHeatmap(int id, Heatmap& heatmap)
{
    auto it = controls.find(id);
    if (it != controls.end() && it->second.kind == ControlKind::Heatmap)
        it->second.heatmap = &heatmap;
}

// Shown as "12/64" in the dump.
void HeadlessView::setProgress(int id, int64_t done, int64_t total)
{
    auto it = controls.find(id);
    if (it != controls.end() && it->second.kind == ControlKind::ProgressBar)
        it->second.text = std::to_string(done) + "/" + std::to_string(total);
}

Heatmap* HeadlessView::heatmap(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.heatmap;
}

const Chart* HeadlessView::chart(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.chart;
}

Table* HeadlessView::table(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.table;
}

int HeadlessView::page(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() || it->second.kind != ControlKind::TabBar ? -1 : it->second.page;
}

bool HeadlessView::choosePage(int id, int page)
{
    auto it = controls.find(id);
    const ControlTemplate* layout = tmpl.control(id);
    if (it == controls.end() || it->second.kind != ControlKind::TabBar || page < 0 ||
        page >= static_cast<int>(layout->items.size()))
        return false;
    it->second.page = page;
    return true;
}

void HeadlessView::setShown(int id, bool shown)
{
    if (auto it = controls.find(id); it != controls.end())
        it->second.shown = shown;
}

// A window has at most one tab bar; its pages are the pages of every control.
bool HeadlessView::visible(int id) const
{
    auto it = controls.find(id);
    if (it == controls.end() || !it->second.shown)
        return false;
    if (it->second.kind == ControlKind::TabBar || it->second.page < 0)
        return true;
    for (const auto& [otherId, other] : controls)
        if (other.kind == ControlKind::TabBar)
            return other.page == it->second.page;
    return true;
}

bool HeadlessView::clickHeading(int id, int column)
{
    auto it = controls.find(id);
    if (it == controls.end() || !it->second.table || !it->second.table->sortable() || column < 0 ||
        column >= it->second.table->columnCount())
        return false;
    it->second.table->headingClicked(column);
    return true;
}

ControlKind HeadlessView::kind(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? ControlKind::Label : it->second.kind;
}

bool HeadlessView::enabled(int id) const
{
    auto it = controls.find(id);
    return it != controls.end() && it->second.isEnabled;
}

void HeadlessView::setEnabled(int id, bool on)
{
    auto it = controls.find(id);
    if (it != controls.end())
        it->second.isEnabled = on;
}

ListBox* HeadlessView::list(int id) const
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second.rows;
}

namespace {

void dumpChart(std::ostream& out, int id, const char* mark, const Chart& chart)
{
    out << id << mark << '\t' << escapeLineBreaks(toUtf8(chart.title())) << '\n';
    for (size_t s = 0; s < chart.series().size(); ++s) {
        const ChartSeries& series = chart.series()[s];
        out << id << '(' << s << ')' << mark << '\t' << escapeLineBreaks(toUtf8(series.name)) << '\t'
            << series.values.size();
        if (!series.values.empty()) {
            const size_t last = series.values.size() - 1;
            out << '\t' << escapeLineBreaks(toUtf8(chart.xTexts()[0])) << '\t'
                << dialogNumberText(series.values[0]) << '\t'
                << escapeLineBreaks(toUtf8(chart.xTexts()[last])) << '\t'
                << dialogNumberText(series.values[last]);
        }
        out << '\n';
    }
}

void dumpTable(std::ostream& out, int id, const char* mark, const Table& table)
{
    out << id << "[h]" << mark;
    for (int c = 0; c < table.columnCount(); ++c) {
        out << '\t' << escapeLineBreaks(toUtf8(table.columns()[static_cast<size_t>(c)].heading));
        if (c == table.sortColumn())
            out << (table.sortAscending() ? " ▲" : " ▼");
    }
    out << '\n';
    for (int r = 0; r < table.rowCount(); ++r) {
        out << id << '[' << r << ']' << mark;
        for (int c = 0; c < table.columnCount(); ++c)
            out << '\t' << escapeLineBreaks(toUtf8(table.cell(r, c).text));
        out << '\n';
    }
}

void dumpHeatmap(std::ostream& out, int id, const char* mark, const Heatmap& heatmap)
{
    out << id << mark << '\t' << escapeLineBreaks(toUtf8(heatmap.title())) << '\n';
    out << id << "[h]" << mark;
    for (const std::string& heading : heatmap.columnHeadings())
        out << '\t' << escapeLineBreaks(toUtf8(heading));
    out << '\n';
    for (int r = 0; r < heatmap.rowCount(); ++r) {
        out << id << '[' << r << ']' << mark << '\t'
            << escapeLineBreaks(toUtf8(heatmap.rowHeadings()[static_cast<size_t>(r)]));
        for (int c = 0; c < heatmap.columnCount(); ++c) {
            const HeatmapCell& cell = heatmap.cell(r, c);
            out << '\t' << (heatmap.outlined(r, c) ? "*" : "");
            if (cell.empty)
                out << '.';
            else
                out << escapeLineBreaks(toUtf8(cell.text)) << ' ' << hexColour(cell.colour);
        }
        out << '\n';
    }
    if (heatmap.legend().empty())
        return;
    out << id << "[legend]" << mark;
    for (const HeatmapLegendStep& step : heatmap.legend())
        out << '\t' << hexColour(step.colour) << ' ' << escapeLineBreaks(toUtf8(step.text));
    out << '\n';
}

}  // namespace

void HeadlessView::dump(std::ostream& out) const
{
    for (const auto& [id, control] : controls) {
        const char* mark = control.isEnabled ? "" : " [disabled]";
        if (!visible(id))
            continue;
        switch (control.kind) {
        case ControlKind::TabBar: {
            const std::vector<std::string>& pages = tmpl.control(id)->items;
            for (size_t i = 0; i < pages.size(); ++i) {
                out << id << '[' << i << ']' << (static_cast<int>(i) == control.page ? "*" : "") << mark
                    << '\t' << escapeLineBreaks(toUtf8(pages[i])) << '\n';
            }
            break;
        }
        case ControlKind::ListBox:
        case ControlKind::ComboBox:
            for (int i = 0; i < control.rows->count(); ++i) {
                out << id << '[' << i << ']' << (i == control.rows->selection() ? "*" : "") << mark << '\t'
                    << escapeLineBreaks(toUtf8(control.rows->row(i))) << '\n';
            }
            break;
        case ControlKind::CheckBox:
            out << id << mark << '\t' << (control.on ? 1 : 0) << '\n';
            break;
        case ControlKind::Chart:
            if (control.chart)
                dumpChart(out, id, mark, *control.chart);
            break;
        case ControlKind::Table:
            if (control.table)
                dumpTable(out, id, mark, *control.table);
            break;
        case ControlKind::Heatmap:
            if (control.heatmap)
                dumpHeatmap(out, id, mark, *control.heatmap);
            break;
        default:
            out << id << mark << '\t' << escapeLineBreaks(toUtf8(control.text)) << '\n';
            break;
        }
    }
}

}  // namespace kv
