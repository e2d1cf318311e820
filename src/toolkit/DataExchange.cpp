// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/DataExchange.h"

#include "text/Cp932.h"
#include "text/Numbers.h"
#include "toolkit/DialogView.h"
#include "toolkit/ListBox.h"
#include "toolkit/Platform.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kv {

void DataExchange::text(int id, std::string& value)
{
    if (fail)
        return;
    if (saving)
        value = view.text(id);
    else
        view.setText(id, value);
}

void DataExchange::number(int id, double& value)
{
    if (fail)
        return;
    if (!saving) {
        view.setText(id, dialogNumberText(value));
        return;
    }
    double parsed = 0;
    if (takeNumber(id, parsed))
        value = parsed;
}

void DataExchange::number(int id, int32_t& value)
{
    if (fail)
        return;
    if (!saving) {
        view.setText(id, std::to_string(value));
        return;
    }
    double parsed = 0;
    if (takeNumber(id, parsed))
        value = truncateToInt32(parsed);
}

bool DataExchange::takeNumber(int id, double& value)
{
    if (parseDialogNumber(view.text(id), value))
        return true;
    static const std::string prompt = toCp932("数値を入力してください。");
    platform.messageBox(prompt);
    view.setFocus(id);
    fail = true;
    return false;
}

void DataExchange::check(int id, bool& value)
{
    if (fail)
        return;
    if (saving)
        value = view.checked(id);
    else
        view.setChecked(id, value);
}

void DataExchange::list(int id, ListBox& rows)
{
    if (!fail)
        view.bindList(id, rows);
}

void DataExchange::chart(int id, Chart& chart)
{
    if (!fail)
        view.bindChart(id, chart);
}

void DataExchange::table(int id, Table& table)
{
    if (!fail)
        view.bindTable(id, table);
}

void DataExchange::heatmap(int id, Heatmap& heatmap)
{
    if (!fail)
        view.bindHeatmap(id, heatmap);
}

void DataExchange::progress(int id, int64_t done, int64_t total)
{
    if (!fail)
        view.setProgress(id, done, total);
}

void DataExchange::selection(int id, ComboBox& box, int& index)
{
    if (fail)
        return;
    view.bindList(id, box);
    if (saving)
        index = box.selection();
    else
        box.setSelection(index);
}

bool parseDialogNumber(const std::string& text, double& value)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return false;
    size_t end = text.find_last_not_of(" \t") + 1;
    std::string body = text.substr(begin, end - begin);
    // Only a plain decimal number: no hexadecimal, infinity or nan forms of strtod.
    for (char c : body)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' || c == 'e' ||
              c == 'E'))
            return false;
    char* stop = nullptr;
    double parsed = std::strtod(body.c_str(), &stop);
    if (stop == body.c_str() || *stop != '\0' || !std::isfinite(parsed))
        return false;
    if (parsed == 0 && body[0] != '0')
        return false;
    value = parsed;
    return true;
}

std::string dialogNumberText(double value)
{
    if (!std::isfinite(value))
        return "----";  // no number to show, and none that reads back as one
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

}  // namespace kv
