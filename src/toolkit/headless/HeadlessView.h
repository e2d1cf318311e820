// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dialog's controls as plain data, for tests, the scenario runner and the batch tool.

#include "toolkit/Chart.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/DialogView.h"
#include "toolkit/Heatmap.h"
#include "toolkit/ListBox.h"
#include "toolkit/Table.h"

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace kv {

class HeadlessView : public DialogView {
public:
    explicit HeadlessView(const DialogTemplate& dialogTemplate);

    std::string text(int id) const override;
    void setText(int id, const std::string& text) override;
    bool checked(int id) const override;
    void setChecked(int id, bool on) override;
    void bindList(int id, ListBox& rows) override;
    void bindChart(int id, Chart& chart) override;
    void bindTable(int id, Table& table) override;
    void bindHeatmap(int id, Heatmap& heatmap) override;
    void setProgress(int id, int64_t done, int64_t total) override;
    // Nothing is drawn here: no picture, false.
    bool saveImage(int, const std::filesystem::path&) override { return false; }
    void setFocus(int id) override { focused = id; }
    bool enabled(int id) const override;
    void setEnabled(int id, bool on) override;
    void addMenuItem(const std::string& text, int id) override { menuItems.emplace_back(text, id); }

    const DialogTemplate& dialogTemplate() const { return tmpl; }
    bool has(int id) const { return controls.count(id) != 0; }
    ControlKind kind(int id) const;
    ListBox* list(int id) const;       // the rows a list or combo box shows; nullptr for others
    const Chart* chart(int id) const;  // what a chart or table control shows; nullptr for others
    Table* table(int id) const;
    Heatmap* heatmap(int id) const;  // what a heatmap control shows; nullptr for others
    // The page tab bar `id` shows (0 the first); -1 when it is not a tab bar.
    int page(int id) const;
    // The user clicks page `page` of tab bar `id`; false when there is no such tab bar or page.
    bool choosePage(int id, int page);
    void setShown(int id, bool shown) override;
    void place(int, ControlRect, unsigned) override {}  // the scripted view has no geometry
    // Whether control `id` is shown: not hidden, and on every page or on the page its tab bar
    // shows.
    bool visible(int id) const;
    // The user clicks the heading of column `column` of table `id`; false when it is not a
    // sortable table or has no such column.
    bool clickHeading(int id, int column);
    int focus() const { return focused; }
    const std::vector<std::pair<std::string, int>>& menu() const { return menuItems; }

    // Every control with an identifier, in identifier order, one per line (UTF-8):
    // "ID<TAB>text", "ID[i]<TAB>row" (a '*' after ']' on the selected row), "ID<TAB>0|1".
    // A chart: "ID<TAB>title", then per series "ID(s)<TAB>name<TAB>point count" and, when it has
    // points, "<TAB>x text<TAB>value" of its first and of its last point. A table: "ID[h]" with
    // the headings, then "ID[r]" per row, cells separated by tabs; the heading a sortable table
    // is sorted by ends in " ▲" (ascending) or " ▼". A heatmap: "ID<TAB>title", "ID[h]" with the
    // column headings, then "ID[r]<TAB>row heading" and per cell "<TAB>text #RRGGBB" ("." for an
    // empty cell, a '*' before the outlined one), and with a legend "ID[legend]" with
    // "<TAB>#RRGGBB text" per step. A tab bar: "ID[i]<TAB>page name" per page, a
    // '*' after ']' on the page shown. Hidden controls and those on pages not shown are left out.
    // A disabled control has " [disabled]" after its identifier on each of its lines.
    void dump(std::ostream& out) const;

private:
    struct Control {
        ControlKind kind;
        std::string text;
        bool on = false;
        bool isEnabled = true;
        std::unique_ptr<ComboBox> ownRows;  // a combo box's template items until one is bound
        ListBox* rows = nullptr;
        Chart* chart = nullptr;
        Table* table = nullptr;
        Heatmap* heatmap = nullptr;
        int page = -1;  // the page it lives on; for a tab bar, the page it shows
        bool shown = true;
    };
    const DialogTemplate& tmpl;
    std::map<int, Control> controls;
    std::vector<std::pair<std::string, int>> menuItems;
    int focused = 0;
};

}  // namespace kv
